#include "edits/line_drawing.h"

#include "base/format.h"
#include "edits/edit_support.h"
#include "edits/level_geometry.h"
#include "edits/objects.h"
#include "level/history.h"

namespace edits {

int DrawVertex(LevelState& level, int x, int y) {
    EditScope edit("draw Vertex");
    int v = AddObject(level, kObjVertex, -1, x, y);
    if (v >= 0)
        edit.Commit();
    return v;
}

DrawnLine DrawLineDef(LevelState& level, int from, int to) {
    if (from == to || !level.vertices.valid(from) || !level.vertices.valid(to))
        return {};
    int old = LineDefJoining(level, from, to);
    if (old >= 0)
        return {Drawn::Existing, old};
    EditScope edit("draw 1 LineDef");
    int n = AddObject(level, kObjLineDef, -1, 0, 0);
    if (n < 0)
        return {Drawn::NoRoom, -1};
    level.lineDefs[n].start = static_cast<uint16_t>(from);
    level.lineDefs[n].end = static_cast<uint16_t>(to);
    edit.Commit();
    return {Drawn::New, n};
}

SectorBuilt CloseShapeSector(LevelState& level, const std::vector<int>& lineDefs, SectorBuild command, int first,
                             int last) {
    if (!ShapeClosed(level, lineDefs))
        return {};
    EditScope edit("draw " + CountOf(static_cast<int>(lineDefs.size()), kObjLineDef));
    SectorBuilt built = BuildSector(level, lineDefs, command, first, last);
    if (built.sector >= 0)
        edit.Commit();
    return built;
}

SectorInserted InsertSector(LevelState& level, const std::vector<int>& lineDefs) {
    SectorInserted inserted;
    if (lineDefs.empty()) {
        inserted.refusal = Refusal{Refusal::Kind::Missing};
        return inserted;
    }
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        if (ld && level.sideDefs.valid(ld->sideDef1) && level.sideDefs.valid(ld->sideDef2)) {
            inserted.refusal = Refusal{Refusal::Kind::Said, Format("LineDef #%d already has two SideDefs", l),
                                       "Add the Sector Reference manually! "};
            return inserted;
        }
    }
    EditScope edit("insert Sector");
    inserted.built = BuildSector(level, lineDefs, SectorBuild::FromLineDefs, -1, -1);
    if (inserted.built.sector >= 0)
        edit.Commit();
    return inserted;
}

}  // namespace edits
