#pragma once

#include "textengine/model/replacements.h"
#include "textengine/model/searchpattern.h"

#include <QString>
#include <span>

namespace support {

// The characters the conversion replaces and their entities, in the table's
// order. The search matches each of them with its entity through the same
// table.
std::span<const textengine::CharacterEntity> umlautEntities();

// Replaces the German umlauts, the sharp s, the copyright and euro signs and
// e with grave, acute and circumflex by their HTML entities; nothing else.
QString UmlautsToEntities(const QString &text);

// The same conversion as replacements of a text held in pieces (an editor's
// buffer), so that an editor makes it, and takes it back, as one step.
textengine::Replacements UmlautReplacements(std::span<const QStringView> pieces);

} // namespace support
