#pragma once
// The definition tags: each handler parses one tag body and adds what it
// defines to the dictionary. Handlers never throw; a corrupt body adds
// nothing or a partial character.

#include <QByteArray>
#include <cstdint>

#include "swf/characters/dictionary.h"
#include "swf/format/memorybudget.h"
#include "swf/format/swfreader.h"

namespace swf {

struct Tag {
    uint16_t code = 0;
    SwfReader body;
};

struct DefineContext {
    int swfVersion = 0;
    Dictionary &dictionary;
    MemoryBudget &budget;
    QByteArray jpegTables;  // from the JPEGTables tag, for DefineBits
};

// shape.cpp, morphshape.cpp
void DefineShapeTag(Tag tag, DefineContext &ctx);        // 2, 22, 32, 83
void DefineMorphShapeTag(Tag tag, DefineContext &ctx);   // 46, 84

// bitmap.cpp
void JpegTablesTag(Tag tag, DefineContext &ctx);         // 8
void DefineBitsJpegTag(Tag tag, DefineContext &ctx);     // 6, 21, 35, 90
void DefineBitsLosslessTag(Tag tag, DefineContext &ctx); // 20, 36

// font.cpp, text.cpp, edittext.cpp
void DefineFontTag(Tag tag, DefineContext &ctx);         // 10, 48, 75
void DefineFontInfoTag(Tag tag, DefineContext &ctx);     // 13, 62
void DefineTextTag(Tag tag, DefineContext &ctx);         // 11, 33
void DefineEditTextTag(Tag tag, DefineContext &ctx);     // 37

}  // namespace swf
