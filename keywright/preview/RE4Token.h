// The kinds of token the registry-file tokenizer yields, and the names its trace prints.
#pragma once

namespace keywright {

enum class RE4Token : unsigned char {
    kInvalid = 0,    // a malformed word or key line
    kFileMarker = 1, // the word "REGEDIT4", or the header line of a version-5 file
    kDwordType = 2,  // the word "DWORD"
    kDwordVal = 3,   // a hexadecimal word of exactly 8 digits
    kBinary = 4,     // the word "Hex"
    kLeftParen = 5,  // (
    kRightParen = 6, // )
    kColon = 7,      // :
    kByteVal = 8,    // a hexadecimal word of exactly 2 digits
    kEQ = 9,         // =
    kAtSign = 10,    // @
    kComma = 11,     // ,
    kQuotedString = 12,
    kKey = 13,       // a key line in square brackets
    kValueType = 14, // a hexadecimal word of exactly 1 digit
    kEOF = 15,
};

// "kFileMarker" and so on: the kind's name as the trace prints it.
const char* TokenName(RE4Token token);

// Why a parse failed. Every failure also has the line on which it was found.
enum class RE4Error : unsigned char {
    kNone,
    kCannotOpen,          // the file could not be opened or buffered
    kUnexpectedToken,     // a token no rule accepts at that place
    kInvalidWord,         // a word that is no keyword and no hexadecimal word of 1, 2 or 8 digits
    kWordTooLong,         // a word that fills the whole word buffer
    kUnterminatedString,  // end of file inside a quoted string
    kStringTooLong,       // a quoted string longer than the string buffer holds
    kUnterminatedKeyLine, // end of file before the carriage return of a key line
    kKeyLineNotClosed,    // a key line whose last character is not ']'
    kKeyLineTooLong,      // a key line longer than the word or key buffer holds
    kNameTooLong,         // a value name of more than 511 characters
    kSegmentTooLong,      // a key name of more than 511 characters
    kOutOfMemory,
};

} // namespace keywright
