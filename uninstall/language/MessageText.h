// Localised message texts by string-table number.
#pragma once

// The text of a string-table number, translated through the language file. The result
// lives in one of 8 buffers used in turn: it stays valid through the next 7 calls. A
// number that no source knows gives an empty text.
const char* GetMessageText(int number);

constexpr int kMessageTextSize = 256;
