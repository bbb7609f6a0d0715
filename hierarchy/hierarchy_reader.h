// The reader of figure (.fig) and BioVision (.bvh) hierarchy files: turns the tokens of an open
// text file into a limb tree and a filled motion table. It reports nothing to the user: words it
// does not know are passed over and text that is not a number reads as 0.
#pragma once

#include <cstdint>

#include "model/limb.h"
#include "model/motion_table.h"

// The statements of the grammar, by the id of their keyword; 0 is a word that is no keyword.
enum HierarchyKeyword : int32_t {
    kKeywordNone = 0,
    kKeywordHash = 1,       // "#": passed over, it starts no comment
    kKeywordOpen = 2,       // "{": passed over, blocks need no opening brace
    kKeywordClose = 3,      // "}": ends the current block
    kKeywordHierarchy = 4,  // "HIERARCHY": passed over
    kKeywordRoot = 5,       // ROOT name: names the current limb
    kKeywordOffset = 6,     // OFFSET x y z: the current limb's offset
    kKeywordChannels = 7,   // CHANNELS count name...: the current limb's channels
    kKeywordJoint = 8,      // JOINT name block: a named child and its block
    kKeywordMotion = 9,     // MOTION header values: fills the table and ends the block
    kKeywordEnd = 10,       // End word block: a child named "End" and its block
    kKeywordMap = 11,       // MAP name: the current limb's map name, counted
    kKeywordLoad = 12,      // LOAD file: the host loads a scene file
    kKeywordName = 13,      // NAME word: passed over with its word
};

// One row of a keyword table; a table ends with a row of id -1.
struct KeywordEntry {
    int32_t id;
    const char* word;
};

// The keywords of the grammar, in table order.
extern const KeywordEntry kHierarchyKeywords[];

// The id of the first row whose word equals word (letter case ignored), walking the rows up to
// the one with id -1; 0 when no row matches or word is null.
int lookupKeyword(const char* word, const KeywordEntry* rows);

// Reads statements from table->source for one block, with limb (which may be null) as the
// current limb. Returns 1 when a "}" ends the block or after a MOTION section has been read, and 0
// at the end of the file. The loader calls it with the root until it returns 0. Blocks nested
// deeper than kMaxLimbDepth below limb are read in step, but make no limbs and add no recursion.
int parseBlock(MotionTable* table, Limb* limb);
