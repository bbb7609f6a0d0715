// The host protocol through the exported entry points, with the stand-in host recording.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/stand_in_host.h"
#include "plugin/entry_points.h"
#include "plugin/figure_plugin.h"

namespace {

using Entry = decltype(&Fig);

class DispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standin::resetScene();
        standin::setEchoErrors(false);
        ASSERT_EQ(piInit(11, 22), 1);
    }
    void TearDown() override {
        piExit(0);
        standin::resetScene();
    }

    static PluginCall callWith(uintptr_t value, int32_t object = -1) {
        PluginCall call{};
        call.host = 0x5A5A5A5A;
        call.resultKind = -7;
        call.resultSize = -7;
        call.callValue = value;
        call.objectHandle = object;
        return call;
    }
};

TEST_F(DispatchTest, StartRegistersTheCommandTable) {
    const standin::Scene& scene = standin::scene();
    EXPECT_TRUE(scene.libInitCalled);
    EXPECT_EQ(scene.libInitA, 11);
    EXPECT_EQ(scene.libInitB, 22);
    EXPECT_EQ(scene.libInitFlags, 4);
    ASSERT_EQ(scene.commands.size(), 5u);
    const char* rows[5][3] = {{"BUILD", "Fig", "Figure builder"},
                              {"UTIL", "Fig", "Figure builder"},
                              {"LOAD", "BvhLoad", "BioVision loader"},
                              {"LOAD", "FigLoad", "Figure loader"},
                              {"SAVE", "FigSave", "Figure saver"}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(scene.commands[i].category, rows[i][0]);
        EXPECT_EQ(scene.commands[i].entry, rows[i][1]);
        EXPECT_EQ(scene.commands[i].label, rows[i][2]);
    }
}

TEST_F(DispatchTest, IconIsAnIntegerResultFromEveryEntry) {
    for (Entry entry : {Fig, FigLoad, BvhLoad}) {
        PluginCall call = callWith(0);
        EXPECT_EQ(entry(1024, 0, &call), 1);
        EXPECT_EQ(call.resultKind, 5);
        EXPECT_EQ(call.resultSize, 4);
        EXPECT_EQ(call.callValue, 131u);
        EXPECT_EQ(call.host, 0x5A5A5A5A) << "the host's own field is never written";
    }
}

TEST_F(DispatchTest, FileFilterFollowsTheCommand) {
    struct Case {
        Entry entry;
        const char* filter;
    } cases[] = {{BvhLoad, "BioVision (*.bvh) |*.bvh||"},
                 {Fig, "Figure File (*.fig) |*.fig||"},
                 {FigLoad, "Figure File (*.fig) |*.fig||"}};
    for (const Case& c : cases) {
        PluginCall call = callWith(0);
        EXPECT_EQ(c.entry(8, 0, &call), 1);
        EXPECT_EQ(call.resultKind, 1);
        EXPECT_EQ(call.resultSize, static_cast<int32_t>(std::strlen(c.filter)));
        EXPECT_STREQ(reinterpret_cast<const char*>(call.callValue), c.filter);
    }
}

TEST_F(DispatchTest, AboutTextIsATextResult) {
    PluginCall call = callWith(0);
    EXPECT_EQ(Fig(16, 0, &call), 1);
    EXPECT_EQ(call.resultKind, 1);
    const char* text = reinterpret_cast<const char*>(call.callValue);
    ASSERT_NE(text, nullptr);
    EXPECT_GT(std::strlen(text), 0u);
    EXPECT_EQ(call.resultSize, static_cast<int32_t>(std::strlen(text)));
}

TEST_F(DispatchTest, PropertiesNeedACallValueAndGoToTheHost) {
    PluginCall none = callWith(0);
    EXPECT_EQ(Fig(128, 0, &none), 0);
    EXPECT_EQ(standin::scene().propertyBlock, nullptr);

    PluginCall call = callWith(0xBEEF);
    EXPECT_EQ(Fig(128, 0, &call), 1);
    EXPECT_EQ(standin::scene().propertyTarget, 0xBEEFu);
    int value = 0;
    ASSERT_TRUE(standin::propertyInt("LimbType", &value));
    EXPECT_EQ(value, 1);
}

TEST_F(DispatchTest, ConditionsOfTheFigureMessages) {
    PluginCall noPath = callWith(0, 3);
    EXPECT_EQ(FigLoad(1, 0, &noPath), 0) << "main action without a path";
    PluginCall noObject = callWith(5, -1);
    EXPECT_EQ(Fig(512, 0, &noObject), 0) << "pose without an object";
    PluginCall frameZero = callWith(0, 3);
    EXPECT_EQ(Fig(512, 0, &frameZero), 0) << "pose at frame 0 reads as no call value";
    PluginCall discardNone = callWith(0, -1);
    EXPECT_EQ(Fig(8192, 0, &discardNone), 0);

    PluginCall pose = callWith(5, 3);
    EXPECT_EQ(Fig(512, 0, &pose), 1);
    PluginCall discard = callWith(0, 3);
    EXPECT_EQ(Fig(8192, 0, &discard), 1);
    PluginCall settings = callWith(0, 0);
    EXPECT_EQ(Fig(32, 0, &settings), 1);
}

TEST_F(DispatchTest, CodesNotListedAndSumsOfCodesAnswerZero) {
    for (int message : {0, 2, 4, 9, 64, 256, 2048, 4096, 8 + 16, 512 + 1024, -1}) {
        PluginCall call = callWith(7, 3);
        EXPECT_EQ(Fig(message, 0, &call), 0) << message;
        EXPECT_EQ(call.resultKind, -7) << "nothing written for " << message;
        EXPECT_EQ(call.callValue, 7u);
    }
}

TEST_F(DispatchTest, HostRefusingTheCallStopsDispatchButRecordsIt) {
    standin::Faults faults;
    faults.funcInitFails = true;
    standin::setFaults(faults);
    PluginCall call = callWith(0);
    EXPECT_EQ(BvhLoad(1024, 0, &call), 0);
    EXPECT_EQ(call.resultKind, -7);
    FigurePlugin* plugin = modulePlugin();
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->callRecord(), &call);
    EXPECT_EQ(plugin->currentMode(), kModeBioVisionLoader);
    EXPECT_EQ(standin::scene().lastFuncInitMessage, 1024);
}

TEST_F(DispatchTest, SaverCommandDoesNothing) {
    PluginCall call = callWith(1, 1);
    int before = standin::scene().funcInitCalls;
    EXPECT_EQ(FigSave(1, 0, &call), 0);
    EXPECT_EQ(standin::scene().funcInitCalls, before);
    EXPECT_EQ(call.resultKind, -7);
}

TEST(EntryPointLifeTest, EntriesWithoutAPlugInAnswerZero) {
    standin::resetScene();
    piExit(0);
    PluginCall call{};
    call.objectHandle = -1;
    EXPECT_EQ(Fig(1024, 0, &call), 0);
    EXPECT_EQ(FigLoad(8, 0, &call), 0);
    EXPECT_EQ(BvhLoad(16, 0, &call), 0);
    EXPECT_EQ(call.resultKind, 0);
    EXPECT_EQ(modulePlugin(), nullptr);
    EXPECT_EQ(piExit(0), 1) << "a second stop does nothing";
    EXPECT_EQ(piExit(0), 1);
}

TEST(EntryPointLifeTest, RestartMakesAFreshPlugIn) {
    standin::resetScene();
    ASSERT_EQ(piInit(0, 0), 1);
    modulePlugin()->setLimbType(2);
    ASSERT_EQ(piInit(0, 0), 1);
    EXPECT_EQ(modulePlugin()->limbType(), 1) << "each new plug-in sets LimbType to 1";
    EXPECT_EQ(piExit(0), 1);
    EXPECT_EQ(modulePlugin(), nullptr);
}

}  // namespace
