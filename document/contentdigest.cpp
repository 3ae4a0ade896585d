#include "document/contentdigest.h"

#include <QtEndian>
#include <bit>

namespace document {

namespace {

constexpr quint64 prime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 prime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 prime3 = 0x165667B19E3779F9ULL;
constexpr quint64 prime4 = 0x85EBCA77C2B2AE63ULL;
constexpr quint64 prime5 = 0x27D4EB2F165667C5ULL;

quint64 read64(const uchar *p)
{
    return qFromLittleEndian<quint64>(p);
}

quint64 round(quint64 accumulator, quint64 input)
{
    return std::rotl(accumulator + input * prime2, 31) * prime1;
}

quint64 merge(quint64 hash, quint64 lane)
{
    return (hash ^ round(0, lane)) * prime1 + prime4;
}

} // namespace

quint64 contentDigest(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const auto *const end = p + bytes.size();
    quint64 hash;
    if (bytes.size() >= 32) {
        quint64 lanes[4] = {prime1 + prime2, prime2, 0, 0 - prime1};
        for (; end - p >= 32; p += 32) {
            for (int i = 0; i < 4; ++i)
                lanes[i] = round(lanes[i], read64(p + 8 * i));
        }
        hash = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12) + std::rotl(lanes[3], 18);
        for (const quint64 lane : lanes)
            hash = merge(hash, lane);
    } else {
        hash = prime5;
    }
    hash += quint64(bytes.size());
    for (; end - p >= 8; p += 8)
        hash = std::rotl(hash ^ round(0, read64(p)), 27) * prime1 + prime4;
    if (end - p >= 4) {
        hash = std::rotl(hash ^ (quint64(qFromLittleEndian<quint32>(p)) * prime1), 23) * prime2 + prime3;
        p += 4;
    }
    for (; p < end; ++p)
        hash = std::rotl(hash ^ (*p * prime5), 11) * prime1;
    hash ^= hash >> 33;
    hash *= prime2;
    hash ^= hash >> 29;
    hash *= prime3;
    hash ^= hash >> 32;
    return hash;
}

} // namespace document
