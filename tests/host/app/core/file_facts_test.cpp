// What fighost reads of a figure file itself, to say what the module kept and at what rate the
// motion was captured.
#include "host/app/core/file_facts.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using fighost::FileFacts;

TEST(FileFactsTest, ReadsTheHeaderAsTheModulesReaderSplitsIt) {
    struct Case {
        const char* text;
        long long frames;
        double frameTime;
        long long channels;
        int limbNamesCut, channelNamesCut;
    };
    const Case cases[] = {
        {"HIERARCHY\nROOT Hips\n{\n OFFSET 0 0 0\n CHANNELS 6 Xposition Yposition Zposition "
         "Zrotation Xrotation Yrotation\n}\nMOTION\nFrames: 2752\nFrame Time: 0.008333\n1 2 3\n",
         2752, 0.008333, 6, 0, 0},
        // Keywords in any case; a quoted name with a space; the names past what is kept.
        {"hierarchy\nroot \"A Very Long Root Name\"\n{\n channels 2 Xposition "
         "AChannelNameOfMoreThanThirtyOneLetters\n joint Sixteen_Letters_\n {\n  CHANNELS 1 "
         "Zrotation\n }\n}\nmotion\nframes: 3\nframe time: 0.04\n",
         3, 0.04, 3, 2, 1},
        // No motion; a frame time that is no number; a CHANNELS count that is not one.
        {"HIERARCHY\nROOT Hips\n{\n CHANNELS x Xposition\n}\n", -1, 0, 0, 0, 0},
        {"HIERARCHY\nROOT Hips\n{\n}\nMOTION\nFrames: 10\nFrame Time: fast\n", 10, 0, 0, 0, 0},
        {"", -1, 0, 0, 0, 0},
        // Counts near the largest number (and past it) saturate instead of wrapping round.
        {"HIERARCHY\nROOT A\n{\n CHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation "
         "Yrotation\n JOINT B\n {\n  CHANNELS 9223372036854775807 Zrotation\n }\n}\n",
         -1, 0, 9223372036854775807LL, 0, 0},
        {"HIERARCHY\nROOT A\n{\n CHANNELS 1 Zrotation\n JOINT B\n {\n  CHANNELS "
         "99999999999999999999 Zrotation\n }\n}\n",
         -1, 0, 9223372036854775807LL, 0, 0},
    };
    testing_support::TempDir folder;
    for (const Case& c : cases) {
        FileFacts facts = fighost::readFileFacts(folder.write("figure.bvh", c.text));
        EXPECT_TRUE(facts.read);
        EXPECT_EQ(facts.frames, c.frames) << c.text;
        EXPECT_DOUBLE_EQ(facts.frameTime, c.frameTime) << c.text;
        EXPECT_EQ(facts.channels, c.channels) << c.text;
        EXPECT_EQ(facts.limbNamesCut, c.limbNamesCut) << c.text;
        EXPECT_EQ(facts.channelNamesCut, c.channelNamesCut) << c.text;
    }
    EXPECT_FALSE(fighost::readFileFacts(folder.path("missing.bvh")).read);
    EXPECT_FALSE(fighost::readFileFacts(folder.root()).read);
}

TEST(FileFactsTest, SaysWhatWasNotKept) {
    FileFacts all;
    all.read = true;
    all.frames = 150;
    all.channels = 63;
    EXPECT_EQ(fighost::keptText(all, 150, 63), "");
    FileFacts cut = all;
    cut.frames = 2752;
    cut.channels = 200;
    cut.limbNames = 40;
    cut.limbNamesCut = 3;
    cut.channelNames = 200;
    cut.channelNamesCut = 1;
    EXPECT_EQ(fighost::keptText(cut, 256, 120),
              "frames 256 of 2,752 kept\nchannels 120 of 200 kept\n"
              "3 of 40 limb names cut to 15 characters\n"
              "1 of 200 channel names cut to 31 characters\n");
    const std::pair<long long, const char*> counts[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {2752, "2,752"}, {1234567, "1,234,567"}};
    for (const auto& count : counts)
        EXPECT_EQ(fighost::countText(count.first), count.second);
}

}  // namespace
