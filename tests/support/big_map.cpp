#include "support/big_map.h"

#include "level/level_files.h"

namespace bigmap {

namespace {

constexpr int16_t kImpassable = 0x01;
constexpr int16_t kTwoSided = 0x04;
constexpr int kSecondRoundOffset = 4;

LineDef Wall(int from, int to, int front, int back) {
    LineDef l{};
    l.start = uint16_t(from);
    l.end = uint16_t(to);
    l.flags = back < 0 ? kImpassable : kTwoSided;
    l.sideDef1 = uint16_t(front);
    l.sideDef2 = back < 0 ? kNoReference : uint16_t(back);
    return l;
}

// Horizontal walls run west, so that the room north of them is on their
// right; the top row runs east, its only room being south.
void AddHorizontalWalls(BigMap& m) {
    const int columns = m.options.columns, rows = m.options.rows;
    for (int row = 0; row <= rows; ++row)
        for (int c = 0; c < columns; ++c) {
            int north = row < rows ? 2 * (row * columns + c) : -1;
            int south = row > 0 ? 2 * ((row - 1) * columns + c) : -1;
            int west = m.FileVertex(c, row), east = m.FileVertex(c + 1, row);
            m.lineDefs.push_back(north >= 0 ? Wall(east, west, north, south) : Wall(west, east, south, -1));
        }
}

// Vertical walls run north, so that the room east of them is on their
// right; the last column runs south, its only room being west.
void AddVerticalWalls(BigMap& m) {
    const int columns = m.options.columns, rows = m.options.rows;
    for (int row = 0; row < rows; ++row)
        for (int c = 0; c <= columns; ++c) {
            int east = c < columns ? 2 * (row * columns + c) + 1 : -1;
            int west = c > 0 ? 2 * (row * columns + c - 1) + 1 : -1;
            int low = m.FileVertex(c, row), high = m.FileVertex(c, row + 1);
            m.lineDefs.push_back(east >= 0 ? Wall(low, high, east, west) : Wall(high, low, west, -1));
        }
}

}  // namespace

BigMap Generate(const Options& options) {
    BigMap m;
    m.options = options;
    m.vertices.assign(size_t(options.unusedVertices), Vertex{0, 0});
    for (int row = 0; row <= options.rows; ++row)
        for (int c = 0; c <= options.columns; ++c)
            m.vertices.push_back({int16_t(m.RoomX(c)), int16_t(m.RoomY(row))});
    m.sectors.assign(size_t(options.roomSectors),
                     Sector{0, 128, "FLAT1", "CEIL3_5", 160, 0, 0});
    for (int r = 0; r < m.Rooms(); ++r)
        for (int side = 0; side < 2; ++side)
            m.sideDefs.push_back({0, 0, "-", "-", {'S', 'T', 'A', 'R', 'T', 'A', 'N', '3'}, uint16_t(m.RoomSector(r))});
    AddHorizontalWalls(m);
    AddVerticalWalls(m);
    m.things.clear();
    for (int k = 0; k < options.things; ++k) {
        int r = k % m.Rooms();
        int x = m.RoomX(r % options.columns) + options.cell / 2 + k / m.Rooms() * kSecondRoundOffset;
        int y = m.RoomY(r / options.columns) + options.cell / 2;
        m.things.push_back({int16_t(x), int16_t(y), 90, 3004, 7});
    }
    m.reject.clear();
    if (options.reject)
        for (int32_t i = 0; i < RejectBytes(int32_t(m.sectors.size())); ++i)
            m.reject.push_back(uint8_t(i * 7));
    return m;
}

}  // namespace bigmap
