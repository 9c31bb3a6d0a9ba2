// Writes a game field as the JSON object of "level dump" and "play --field".
#include "FieldJson.h"

#include <string>
#include <vector>

#include "storage/TextCodec.h"

namespace kxtool {

namespace {
template <typename Get>
void WriteLayer(JsonWriter& json, const kx::CGameFieldBase& field, const std::string& key,
                Get get) {
    std::vector<int> values;
    values.reserve(field.cells.size());
    for (const kx::FieldCell& cell : field.cells)
        values.push_back(get(cell));
    json.Key(key);
    json.IntArray(values);
}
} // namespace

void WriteFieldJson(JsonWriter& json, const kx::CGameFieldBase& field, uint32_t version) {
    json.BeginObject();
    json.Key("version");
    json.UInt(version);
    json.Key("width");
    json.Int(field.width);
    json.Key("height");
    json.Int(field.height);
    json.Key("description");
    json.String(kx::Utf8FromCp1252(field.description));

    WriteLayer(json, field, "ground", [](const kx::FieldCell& c) { return c.ground; });
    for (int i = 0; i < kx::kObjectSlots; ++i)
        WriteLayer(json, field, "object" + std::to_string(i + 1),
                   [i](const kx::FieldCell& c) { return c.objects[i]; });
    WriteLayer(json, field, "item", [](const kx::FieldCell& c) { return c.item; });
    WriteLayer(json, field, "creature", [](const kx::FieldCell& c) { return c.creature; });
    WriteLayer(json, field, "flags", [](const kx::FieldCell& c) { return c.flags; });
    WriteLayer(json, field, "swGround", [](const kx::FieldCell& c) { return c.swGround; });
    for (int i = 0; i < kx::kObjectSlots; ++i)
        WriteLayer(json, field, "swObject" + std::to_string(i + 1),
                   [i](const kx::FieldCell& c) { return c.swObjects[i]; });
    WriteLayer(json, field, "swItem", [](const kx::FieldCell& c) { return c.swItem; });
    WriteLayer(json, field, "swFlags", [](const kx::FieldCell& c) { return c.swFlags; });
    WriteLayer(json, field, "switchNo", [](const kx::FieldCell& c) { return c.switchNo; });
    WriteLayer(json, field, "extraFlags", [](const kx::FieldCell& c) { return c.extraFlags; });
    json.EndObject();
}

namespace {

void WriteWorms(JsonWriter& json, const kx::PlayState& play) {
    json.Key("worms");
    json.BeginArray();
    for (const kx::Worm& worm : play.worms) {
        json.BeginObject();
        json.Key("state");
        json.Int(worm.state);
        json.Key("length");
        json.Int(worm.length);
        json.Key("direction");
        json.Int(worm.direction);
        json.Key("speedIndex");
        json.Int(worm.speedIndex);
        json.Key("segments");
        json.BeginArray();
        for (int32_t i = 0; i < worm.length; ++i)
            json.IntArray({worm.Segment(i).x, worm.Segment(i).y});
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void WriteGhosts(JsonWriter& json, const kx::PlayState& play) {
    json.Key("ghosts");
    json.BeginArray();
    for (const kx::Ghost& ghost : play.ghosts) {
        json.BeginObject();
        json.Key("state");
        json.Int(ghost.state);
        json.Key("x");
        json.Int(ghost.x);
        json.Key("y");
        json.Int(ghost.y);
        json.Key("direction");
        json.Int(ghost.direction);
        json.Key("marked");
        json.Bool(ghost.marked);
        json.Key("speedIndex");
        json.Int(ghost.speedIndex);
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void WritePlayStateJson(JsonWriter& json, const kx::PlayState& play) {
    json.Key("cornLeft");
    json.Int(play.cornLeft);
    json.Key("activeWorm");
    json.Int(play.activeWorm);
    WriteWorms(json, play);
    WriteGhosts(json, play);
}

} // namespace kxtool
