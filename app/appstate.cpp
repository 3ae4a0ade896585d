#include "app/appstate.h"

AppState &App()
{
    static AppState state;
    return state;
}
