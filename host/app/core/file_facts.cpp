// Reading what a figure file declares before the module keeps what fits.
#include "host/app/core/file_facts.h"

#include <strings.h>
#include <sys/stat.h>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "model/limb.h"
#include "model/motion_table.h"

namespace fighost {
namespace {

// Longest names the module keeps, without their terminating NUL.
constexpr int kLimbNameLength = kLimbNameSize - 1;
constexpr int kChannelNameLength = kChannelNameSize - 1;

// The file's words, as the module's reader splits them: runs of non-blank characters, or a
// double-quoted name in which a backslash takes the character after it as it is.
class Words {
  public:
    explicit Words(std::FILE* file) : file_(file) {}

    // The next word; false at the end of the file.
    bool next(std::string* word) {
        word->clear();
        int c = std::fgetc(file_);
        while (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')
            c = std::fgetc(file_);
        if (c == EOF)
            return false;
        if (c == '"') {
            for (c = std::fgetc(file_); c != EOF && c != '"'; c = std::fgetc(file_)) {
                if (c == '\\' && (c = std::fgetc(file_)) == EOF)
                    break;
                *word += static_cast<char>(c);
            }
            return true;
        }
        for (;
             c != EOF && c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v';
             c = std::fgetc(file_))
            *word += static_cast<char>(c);
        return true;
    }

  private:
    std::FILE* file_;
};

bool is(const std::string& word, const char* keyword) {
    return strcasecmp(word.c_str(), keyword) == 0;
}

long long countOf(const std::string& word) {
    char* end = nullptr;
    long long value = std::strtoll(word.c_str(), &end, 10);
    return end != word.c_str() && value > 0 ? value : 0;
}

std::string cutText(int cut, int all, const char* what, int length) {
    return countText(cut) + " of " + countText(all) + " " + what + " names cut to " +
           std::to_string(length) + " characters\n";
}

}  // namespace

FileFacts readFileFacts(const std::string& path) {
    FileFacts facts;
    // Only regular files are read a second time: a pipe or a device gives its bytes once.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return facts;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return facts;
    facts.read = true;
    Words words(file);
    std::string word;
    bool inMotion = false;
    while (words.next(&word)) {
        if (is(word, "ROOT") || is(word, "JOINT")) {
            if (!words.next(&word))
                break;
            facts.limbNames += 1;
            facts.limbNamesCut += word.size() > static_cast<size_t>(kLimbNameLength);
        } else if (is(word, "CHANNELS") && !inMotion) {
            if (!words.next(&word))
                break;
            long long count = countOf(word);
            // A count near the largest number stays the largest, however many follow.
            facts.channels =
                count > LLONG_MAX - facts.channels ? LLONG_MAX : facts.channels + count;
            for (long long i = 0; i < count && words.next(&word); ++i) {
                facts.channelNames += 1;
                facts.channelNamesCut += word.size() > static_cast<size_t>(kChannelNameLength);
            }
        } else if (is(word, "MOTION")) {
            inMotion = true;
        } else if (inMotion && is(word, "Frames:")) {
            if (!words.next(&word))
                break;
            facts.frames = countOf(word);
        } else if (inMotion && is(word, "Time:")) {
            if (words.next(&word)) {
                double seconds = std::strtod(word.c_str(), nullptr);
                facts.frameTime = seconds > 0 && seconds < 3600 ? seconds : 0;
            }
            break;
        } else if (inMotion && !is(word, "Frame")) {
            break;  // the first motion value: the header has ended
        }
    }
    std::fclose(file);
    return facts;
}

std::string countText(long long count) {
    std::string digits = std::to_string(count < 0 ? -count : count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return count < 0 ? "-" + digits : digits;
}

std::string keptText(const FileFacts& facts, unsigned framesKept, int channelsKept) {
    std::string text;
    if (facts.frames > static_cast<long long>(framesKept))
        text += "frames " + countText(framesKept) + " of " + countText(facts.frames) + " kept\n";
    if (facts.channels > channelsKept)
        text +=
            "channels " + countText(channelsKept) + " of " + countText(facts.channels) + " kept\n";
    if (facts.limbNamesCut > 0)
        text += cutText(facts.limbNamesCut, facts.limbNames, "limb", kLimbNameLength);
    if (facts.channelNamesCut > 0)
        text += cutText(facts.channelNamesCut, facts.channelNames, "channel", kChannelNameLength);
    return text;
}

}  // namespace fighost
