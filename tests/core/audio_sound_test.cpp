#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "audio/sound_pairing.h"
#include "audio/sound_setting.h"

namespace {

ContainerId container(const std::string& text) {
    ContainerId id{};
    EXPECT_TRUE(parse_container_id(text.data(), text.size(), &id)) << text;
    return id;
}

TEST(SoundPairing, ContainerIdText) {
    const ContainerId id = container("{00112233-4455-6677-8899-AABBccddeeff}");
    // clang-format off
    const uint8_t memory[16] = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
    EXPECT_EQ(std::memcmp(id.bytes, memory, 16), 0);
    EXPECT_EQ(std::memcmp(container("00112233-4455-6677-8899-aabbccddeeff").bytes, memory, 16), 0);
    for (const std::string bad : {"{00112233-4455-6677-8899-aabbccddeeff", "00112233-4455-6677-8899-aabbccddeeff0", "00112233-4455-6677-8899_aabbccddeeff",
                                  "0011223g-4455-6677-8899-aabbccddeeff", "001122334-455-6677-8899-aabbccddeeff", ""}) {
        // clang-format on
        ContainerId kept = id;
        EXPECT_FALSE(parse_container_id(bad.data(), bad.size(), &kept)) << bad;
        EXPECT_EQ(std::memcmp(kept.bytes, memory, 16), 0) << bad;
    }
}

TEST(SoundPairing, TheCamerasOwnInputComesFirst) {
    // clang-format off
    const std::string cam = "{5a1e0000-0000-0000-0000-00000000cafe}", other = "{0bad0000-0000-0000-0000-000000000001}",
                      pc = "{00000000-0000-0000-ffff-ffffffffffff}", none = "{00000000-0000-0000-0000-000000000000}";
    struct Case { const char* what; std::string camera; std::vector<std::string> inputs; int32_t own; std::vector<int32_t> order; };
    const Case cases[] = {
        {"own first", cam, {pc, other, cam}, 2, {2, 0, 1}},
        {"already first", cam, {cam, pc}, 0, {0, 1}},
        {"none shares it", cam, {pc, other}, -1, {0, 1}},
        {"two share it: neither", cam, {cam, other, cam}, -1, {0, 1, 2}},
        {"the computer's own container", pc, {other, pc}, -1, {0, 1}},
        {"a camera without a container", none, {other, none}, -1, {0, 1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<SoundInput> inputs(c.inputs.size());
        for (size_t i = 0; i < inputs.size(); ++i) {
            inputs[i].container = container(c.inputs[i]);
        }
        std::vector<int32_t> order(inputs.size(), -9);
        EXPECT_EQ(sound_menu_order(inputs.data(), int32_t(inputs.size()), container(c.camera),
                                   container(pc), order.data()),
                  c.own);
        EXPECT_EQ(order, c.order);
    }
}

TEST(SoundSetting, ParseAndFormat) {
    const std::string id = "{0.0.1.00000000}.{7c1a2f3e-1111-4222-8333-944455556666}",
                      most(256, 'x');
    // clang-format off
    struct Case { std::string value; bool taken; };
    const Case cases[] = {{id, true}, {"", true}, {most, true}, {most + "x", false}, {id + "\r", false},
                          {"a\tb", false}, {"a\x7F", false}, {"Mikrofon \xC3\xA4", true}};
    // clang-format on
    for (const Case& c : cases) {
        char field[sound_endpoint_id_size] = "before", text[300];
        EXPECT_EQ(parse_sound_setting(c.value.data(), c.value.size(), field), c.taken) << c.value;
        EXPECT_EQ(std::string(field), c.taken ? c.value : "before");
        EXPECT_EQ(format_sound_setting(c.value.c_str(), text, sizeof text),
                  c.taken ? c.value.size() : 0);
        EXPECT_EQ(std::string(text), c.taken ? c.value : "");
    }
    char small[8] = "#######", unterminated[sound_endpoint_id_size + 4];
    EXPECT_FALSE(parse_sound_setting("a\0b", 3, small)); // a NUL would end the id early
    // Cut to the capacity and still terminated; an unterminated id writes nothing.
    EXPECT_EQ(format_sound_setting(id.c_str(), small, 5), id.size());
    EXPECT_EQ(std::string(small), "{0.0");
    std::memset(unterminated, 'u', sizeof unterminated);
    EXPECT_EQ(format_sound_setting(unterminated, small, sizeof small), 0u);
    EXPECT_EQ(std::string(small), "");
}

} // namespace
