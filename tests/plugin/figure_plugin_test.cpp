// The plug-in object's own operations: the property block, base names and scene objects.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/stand_in_host.h"
#include "model/figure_data.h"
#include "plugin/figure_plugin.h"

namespace {

// Restores the module-wide block after a test that writes into it.
class PropertyBlockGuard {
  public:
    PropertyBlockGuard() { std::memcpy(&saved_, modulePropertyBlock(), sizeof saved_); }
    ~PropertyBlockGuard() { std::memcpy(modulePropertyBlock(), &saved_, sizeof saved_); }

  private:
    PluginPropertyBlock saved_;
};

TEST(PropertyBlockTest, EntriesHaveTheHostsByteLayout) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(modulePropertyBlock());
    const char* names[] = {"Version", "LimbType", "SubSegments", "Divisions", "Posing"};
    const int values[] = {1, 1, 9, 8, 0};
    for (int i = 0; i < 5; ++i) {
        const unsigned char* e = bytes + 128 * i;
        int32_t word;
        std::memcpy(&word, e + 0, 4);
        EXPECT_EQ(word, 1);
        EXPECT_EQ(e[4], 0);
        EXPECT_STREQ(reinterpret_cast<const char*>(e + 5), names[i]);
        for (size_t k = 5 + std::strlen(names[i]); k < 40; ++k)
            EXPECT_EQ(e[k], 0) << i << ":" << k;
        std::memcpy(&word, e + 40, 4);
        EXPECT_EQ(word, 88);
        std::memcpy(&word, e + 44, 4);
        EXPECT_EQ(word, 3);
        for (int k = 48; k < 56; ++k)
            EXPECT_EQ(e[k], 0);
        std::memcpy(&word, e + 56, 4);
        EXPECT_EQ(word, values[i]) << names[i];
        for (int k = 60; k < 128; ++k)
            EXPECT_EQ(e[k], 0);
    }
    for (int k = 0; k < 128; ++k)
        EXPECT_EQ(bytes[5 * 128 + k], 0) << "terminating entry";
    EXPECT_EQ(sizeof(PluginPropertyBlock), 6u * 128u);
}

TEST(PropertyBlockTest, SlotsStayInsideTheFiveEntries) {
    PropertyBlockGuard guard;
    PluginPropertyBlock before;
    std::memcpy(&before, modulePropertyBlock(), sizeof before);
    FigurePlugin plugin;
    for (int index : {-1, 5, 6, 1000, -100000}) {
        EXPECT_EQ(plugin.setPropertyInt(index, 77), 1);
        EXPECT_EQ(plugin.setPropertyLong(index, 77), 1);
        EXPECT_EQ(plugin.setPropertyDouble(index, 7.5), 1);
        EXPECT_EQ(plugin.setPropertyText(index, "overwrite"), 1);
        EXPECT_EQ(plugin.propertyInt(index), 0);
        EXPECT_EQ(plugin.propertyDouble(index), 0.0);
        EXPECT_EQ(plugin.propertyValue(index), nullptr);
    }
    EXPECT_EQ(std::memcmp(&before, modulePropertyBlock(), sizeof before), 0);
}

TEST(PropertyBlockTest, ValuesRoundTripAndTextIsCutToTheValueArea) {
    PropertyBlockGuard guard;
    FigurePlugin plugin;
    plugin.setPropertyDouble(2, 2.25);
    EXPECT_EQ(plugin.propertyDouble(2), 2.25);
    plugin.setPropertyLong(3, -12);
    EXPECT_EQ(plugin.propertyInt(3), -12);

    std::string longText(500, 'x');
    plugin.setPropertyText(0, longText.c_str());
    const PluginProperty& entry = modulePropertyBlock()->entries[0];
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(entry.value)), 71u);
    EXPECT_EQ(modulePropertyBlock()->entries[1].kind, 1) << "the next entry is untouched";
    EXPECT_EQ(plugin.limbType(), 1);

    plugin.setPropertyText(0, "ab");
    EXPECT_STREQ(reinterpret_cast<const char*>(plugin.propertyValue(0)), "ab");
    EXPECT_EQ(entry.value[3], 0) << "the rest of the area is cleared";
}

TEST(PropertyBlockTest, LimbTypeIsEntryOne) {
    PropertyBlockGuard guard;
    FigurePlugin plugin;
    EXPECT_EQ(plugin.setLimbType(2), 1);
    EXPECT_EQ(plugin.limbType(), 2);
    EXPECT_EQ(plugin.propertyInt(kPropertyLimbType), 2);
    FigurePlugin another;
    EXPECT_EQ(plugin.limbType(), 1) << "a new plug-in object sets LimbType to 1 again";
}

TEST(PropertyBlockTest, PosingIsEntryFourAndStartsAtWorldAxes) {
    PropertyBlockGuard guard;
    FigurePlugin plugin;
    EXPECT_EQ(plugin.posing(), kPosingWorldAxes);
    EXPECT_EQ(plugin.setPosing(kPosingCaptured), 1);
    EXPECT_EQ(plugin.propertyInt(kPropertyPosing), kPosingCaptured);
    EXPECT_EQ(plugin.limbType(), 1) << "LimbType is untouched";
}

TEST(BaseNameTest, FileNameWithoutFolderOrExtensions) {
    FigurePlugin plugin;
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\figs\\walk.take2.bvh", "walk"},
        {"C:\\my.dir\\run", "run"},
        {"/a/b.c/d.e", "d"},
        {"walk", "walk"},
        {"\\walk.bvh", "walk"},
        {".hidden.fig", ""},
        {"figs/", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(plugin.baseName(c.path), c.name) << c.path;
    EXPECT_STREQ(plugin.baseName(nullptr), "");
}

TEST(BaseNameTest, LongPathsNeverOverflowTheBuffer) {
    FigurePlugin plugin;
    std::string deep = std::string(5000, 'd') + "/run.bvh";
    EXPECT_STREQ(plugin.baseName(deep.c_str()), "run");
    std::string longName = "/tmp/" + std::string(1000, 'n') + ".bvh";
    const char* name = plugin.baseName(longName.c_str());
    EXPECT_EQ(std::strlen(name), static_cast<size_t>(kBaseNameSize - 1));
    EXPECT_EQ(std::string(name), std::string(kBaseNameSize - 1, 'n'));
}

TEST(CreateObjectTest, LabelsAndBindsTheNewObject) {
    standin::resetScene();
    FigurePlugin plugin;
    int handle = plugin.createObject("walk", "Figure builder");
    const standin::SceneObject* object = standin::object(handle);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->name, "walk");
    EXPECT_EQ(object->type, 25);
    EXPECT_EQ(object->labelText, "Figure builder");
    EXPECT_EQ(object->boundLabel, "Figure builder");
}

TEST(CreateObjectTest, LongLabelIsCutForTheLabelProperty) {
    standin::resetScene();
    FigurePlugin plugin;
    std::string label(200, 'L');
    int handle = plugin.createObject("x", label.c_str());
    ASSERT_NE(standin::object(handle), nullptr);
    EXPECT_EQ(standin::object(handle)->labelText, std::string(kLabelSize - 1, 'L'));
}

TEST(CreateObjectTest, FailingHostLeavesNothingBehind) {
    standin::resetScene();
    standin::Faults faults;
    faults.createObjectFailsFrom = 1;
    standin::setFaults(faults);
    FigurePlugin plugin;
    EXPECT_EQ(plugin.createObject("walk", "Figure builder"), -1);
    EXPECT_TRUE(standin::scene().objects.empty());
    standin::resetScene();
}

}  // namespace
