// Numbers of the string-table entries that code refers to by name.
#pragma once

namespace sorbex {

constexpr unsigned IDS_APP_TITLE = 128;
// The result document's type: title, name, file filter, extension, type id and
// description, separated by line feeds.
constexpr unsigned IDS_RESULT_DOCUMENT_TYPE = 129;

// Messages 9800 to 9815 stand for the error codes 1 to 16 of the regular-expression
// library, in that order; RegexErrors.cpp relies on the arithmetic.
constexpr unsigned IDS_RE_NOT_FOUND = 9800;
constexpr unsigned IDS_RE_INVALID = 9801;
constexpr unsigned IDS_RE_BAD_COLLATION = 9802;
constexpr unsigned IDS_RE_BAD_CLASS_NAME = 9803;
constexpr unsigned IDS_RE_TRAILING_BACKSLASH = 9804;
constexpr unsigned IDS_RE_BAD_BACKREF = 9805;
constexpr unsigned IDS_RE_UNMATCHED_BRACKET = 9806;
constexpr unsigned IDS_EXPR_MISSING_CLOSE_PAREN = 9807;
constexpr unsigned IDS_RE_UNMATCHED_BRACE = 9808;
constexpr unsigned IDS_RE_BAD_INTERVAL = 9809;
constexpr unsigned IDS_RE_BAD_RANGE_END = 9810;
constexpr unsigned IDS_MEMORY_OVERFLOW = 9811;
constexpr unsigned IDS_RE_BAD_REPEAT_START = 9812;
constexpr unsigned IDS_RE_PREMATURE_END = 9813;
constexpr unsigned IDS_RE_TOO_BIG = 9814;
constexpr unsigned IDS_EXPR_MISSING_OPEN_PAREN = 9815;
constexpr unsigned IDS_RE_BAD_REPEAT_COUNT = 9816;
constexpr unsigned IDS_RE_REPEAT_INCOMPLETE = 9817;
constexpr unsigned IDS_RE_SYNTAX_NOT_SET = 9818;
constexpr unsigned IDS_EXPR_EMPTY_SUBEXPRESSION = 9819;
constexpr unsigned IDS_EXPR_NOT_NEEDS_AND = 9820;
constexpr unsigned IDS_EXPR_NOT_OPERAND_MISSING = 9821;
constexpr unsigned IDS_EXPR_AND_LEFT_MISSING = 9822;
constexpr unsigned IDS_EXPR_AND_RIGHT_MISSING = 9823;
constexpr unsigned IDS_EXPR_PHONETIC_EMPTY = 9824;
constexpr unsigned IDS_EXPR_GROUP_NEEDS_AND = 9825;
constexpr unsigned IDS_EXPR_NESTED_TOO_DEEPLY = 9826;
constexpr unsigned IDS_RE_REPETITION_TOO_LARGE = 9827;
constexpr unsigned IDS_RE_EMPTY_REFERENCE_REPEATED = 9828;
constexpr unsigned IDS_SEARCH_EXAMPLES = 10007;
constexpr unsigned IDS_SELECT_FILES = 10008;
// File-chooser filters: a description and its pattern, separated by "|".
constexpr unsigned IDS_FILTER_ALL_FILES = 10009;
constexpr unsigned IDS_FILTER_TEXT_FILES = 10010;
constexpr unsigned IDS_INSERT_DISC = 10012;
constexpr unsigned IDS_INSERT_CD_ROM = 10013;
constexpr unsigned IDS_INVALID_DIRECTORY = 10014;
constexpr unsigned IDS_SCANNING_DIRECTORY = 10015;
constexpr unsigned IDS_NO_FILES_FOUND = 10016;
constexpr unsigned IDS_REPLACE_TAG_TOO_HIGH = 10017;
constexpr unsigned IDS_SEARCH_EXPRESSION_ERROR = 10018;
constexpr unsigned IDS_SCANNING_FILE = 10019;
constexpr unsigned IDS_RESULT_DATE_FORMAT = 10020;
constexpr unsigned IDS_RESULT_SIZE_FORMAT = 10021;
constexpr unsigned IDS_NEW_PAGE_CAPTION = 10022;
constexpr unsigned IDS_SEARCH_FINISHED = 10024;
constexpr unsigned IDS_SEARCH_CANCELED = 10025;
constexpr unsigned IDS_NO_PASSAGES_FOUND = 10029;
constexpr unsigned IDS_FILE_VIEWER = 10030;
constexpr unsigned IDS_CONFIRM_REPLACE = 10032;
constexpr unsigned IDS_FONT_DESCRIPTION = 10033;
constexpr unsigned IDS_FONT_UNDERLINED = 10034;
constexpr unsigned IDS_FONT_CROSSED_OUT = 10035;
constexpr unsigned IDS_EXTENSION_NOT_REGISTERED = 10037;
// Labels and values of a result page's header table.
constexpr unsigned IDS_HEADER_SEARCH_EXPRESSION = 10040;
constexpr unsigned IDS_HEADER_FILE_MASK = 10041;
constexpr unsigned IDS_HEADER_DIRECTORY = 10042;
constexpr unsigned IDS_HEADER_WHOLE_WORDS = 10043;
constexpr unsigned IDS_HEADER_CASE_SENSITIVE = 10044;
constexpr unsigned IDS_HEADER_SUBDIRECTORIES = 10045;
constexpr unsigned IDS_HEADER_SEARCH_METHOD = 10046;
constexpr unsigned IDS_HEADER_PASSAGES_FOUND = 10047;
constexpr unsigned IDS_HEADER_FILES_FOUND = 10048;
constexpr unsigned IDS_YES = 10049;
constexpr unsigned IDS_NO = 10050;
constexpr unsigned IDS_METHOD_STANDARD = 10051;
constexpr unsigned IDS_METHOD_PHONETIC = 10052;
constexpr unsigned IDS_CONVERTED_NOT_REPLACEABLE = 10056;
constexpr unsigned IDS_RESULTS_REORGANIZE_NO_SPACE = 10057;
constexpr unsigned IDS_RESULTS_REORGANIZE_FAILED = 10058;
constexpr unsigned IDS_CACHE_REORGANIZING = 10059;
constexpr unsigned IDS_CACHE_REORGANIZE_NO_SPACE = 10060;
constexpr unsigned IDS_CACHE_REORGANIZE_FAILED = 10061;
constexpr unsigned IDS_CACHE_CONFIRM_DELETE = 10062;
constexpr unsigned IDS_FILE_CHANGED_NOT_REPLACED = 10063;
constexpr unsigned IDS_FILE_NOT_WRITTEN = 10064;
constexpr unsigned IDS_FILE_NOT_READ = 10065;
constexpr unsigned IDS_DIRECTORY_NOT_LISTED = 10066;
constexpr unsigned IDS_FILE_TOO_LARGE = 10067;
constexpr unsigned IDS_DIRECTORY_LOOP = 10068;
constexpr unsigned IDS_CONVERTER_CRASHED = 10069;
constexpr unsigned IDS_CONVERTER_HUNG = 10070;
constexpr unsigned IDS_CONVERTER_TOO_LARGE = 10071;
constexpr unsigned IDS_CONVERTER_NOT_STARTED = 10072;
constexpr unsigned IDS_REPLACEMENT_NOT_ENCODABLE = 10080;
constexpr unsigned IDS_FILE_WOULD_BE_TOO_LARGE = 10081;
// A result file's open or save failure (61697, 61698), its path and the system's reason.
constexpr unsigned IDS_RESULT_FILE_FAILURE = 10082;
// Undoing a replacement.
constexpr unsigned IDS_UNDO_LIMIT_EXCEEDED = 10090; // %1 the walk's size, %2 the limit
constexpr unsigned IDS_UNDO_NOTHING = 10091;
constexpr unsigned IDS_UNDO_RESTORED = 10092;       // %1: how many
constexpr unsigned IDS_UNDO_FILE_CHANGED = 10093;
constexpr unsigned IDS_UNDO_FILE_FAILED = 10094;    // %1 file, %2 the reason
constexpr unsigned IDS_UNDO_NOT_KEPT = 10095;       // %1 the reason; a question too
// A size in the unit that keeps it short.
constexpr unsigned IDS_SIZE_BYTES = 10096;
constexpr unsigned IDS_SIZE_KILOBYTES = 10097;
constexpr unsigned IDS_SIZE_MEGABYTES = 10098;
// The colours of the font dialog, in its order, and any other colour.
constexpr unsigned IDS_COLOR_BLACK = 10200;
constexpr unsigned IDS_COLOR_MAROON = 10201;
constexpr unsigned IDS_COLOR_GREEN = 10202;
constexpr unsigned IDS_COLOR_OLIVE = 10203;
constexpr unsigned IDS_COLOR_NAVY = 10204;
constexpr unsigned IDS_COLOR_PURPLE = 10205;
constexpr unsigned IDS_COLOR_TEAL = 10206;
constexpr unsigned IDS_COLOR_GRAY = 10207;
constexpr unsigned IDS_COLOR_SILVER = 10208;
constexpr unsigned IDS_COLOR_RED = 10209;
constexpr unsigned IDS_COLOR_LIME = 10210;
constexpr unsigned IDS_COLOR_YELLOW = 10211;
constexpr unsigned IDS_COLOR_BLUE = 10212;
constexpr unsigned IDS_COLOR_FUCHSIA = 10213;
constexpr unsigned IDS_COLOR_AQUA = 10214;
constexpr unsigned IDS_COLOR_WHITE = 10215;
constexpr unsigned IDS_COLOR_RGB = 10216;
// Texts of the windowed program of our own choosing (numbers from 10220 up).
constexpr unsigned IDS_IDLE_STATUS = 10220;
constexpr unsigned IDS_ASK_SAVE_CHANGES = 10221;
constexpr unsigned IDS_FRAME_TITLE = 10222; // "%1 - %2": document, program
constexpr unsigned IDS_SELECT_DIRECTORY = 10224;
// What escaped a window's handler, with the exception's own text.
constexpr unsigned IDS_UNEXPECTED_FAILURE = 10225;
constexpr unsigned IDS_PAGE_SEARCH = 10231;
constexpr unsigned IDS_PAGE_REPLACE = 10232;
constexpr unsigned IDS_PAGE_EXAMPLES = 10233;
// The print preview's title.
constexpr unsigned IDS_PRINT_PREVIEW = 10240;
// The options dialog's choices of how text files' bytes are read.
constexpr unsigned IDS_ENCODING_AUTO = 10250;
constexpr unsigned IDS_ENCODING_ANSI = 10251;
constexpr unsigned IDS_ENCODING_UTF8 = 10252;
constexpr unsigned IDS_ENCODING_UTF16LE = 10253;
constexpr unsigned IDS_ENCODING_UTF16BE = 10254;
// Status-bar prompts of the storage commands.
constexpr unsigned IDS_PROMPT_RESULTS_REORGANIZE = 32816;
constexpr unsigned IDS_PROMPT_CACHE_REORGANIZE = 32817;
constexpr unsigned IDS_PROMPT_CACHE_DELETE = 32818;
constexpr unsigned IDS_FAILED_TO_OPEN_DOCUMENT = 61697;
constexpr unsigned IDS_FAILED_TO_SAVE_DOCUMENT = 61698;

} // namespace sorbex
