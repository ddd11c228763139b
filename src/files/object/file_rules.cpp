#include "files/object/file_rules.h"

#include "files/object/file_codes.h"

namespace dove::files {

namespace {

// Shorthands for the recurring rows.
constexpr OpRule kNone = {0, 0, 0, 0, 0, 0};
constexpr OpRule kQuery = {0, 1, 0, 0, 0, 0};                 // needs an open file only
constexpr OpRule kCurrentQuery = {0, 3, 0, 0, 0, 0};          // needs a current record
constexpr OpRule kEndTest = {0, 33, 0, 0, 0, 0};              // EOF, BOF
constexpr OpRule kPlain = {1, 1, 0, 0, 0, 0};                 // open, clears errors
constexpr OpRule kWholeFile = {1, 193, 4, 0, 0, 0};           // exclusive, no LOGOUT
constexpr OpRule kClosedOnly = {1, 0, 1, 0, 0, 0};            // forbidden while open
constexpr OpRule kOpening = {1, 0, 1, 1, 0, 0};
constexpr OpRule kGet = {17, 1, 0, 2, 2560, 2};               // direct read
constexpr OpRule kSequential = {21, 33, 0, 2, 2560, 8226};    // NEXT, PREVIOUS
constexpr OpRule kReget = {17, 1, 0, 2, 2560, 0};
constexpr OpRule kSetOrder = {37, 1, 0, 8224, 0, 8224};       // SET and RESET forms
constexpr OpRule kAddRow = {17, 65, 0, 2, 5120, 0};
constexpr OpRule kAppendRow = {17, 65, 0, 0, 0, 0};
constexpr OpRule kRewrite = {17, 67, 0, 0, 5120, 0};          // PUT, on the current record
constexpr OpRule kPutAt = {17, 65, 0, 0, 5120, 0};            // PUT at a given position
constexpr OpRule kDeleteRow = {17, 67, 0, 0, 2, 0};
constexpr OpRule kLock = {1, 1, 16, 144, 0, 0};
constexpr OpRule kHold = {1, 1, 0, 2048, 0, 0};
constexpr OpRule kPosition = {1, 3, 0, 0, 0, 0};

// One row per operation code; index 0 is unused.
const OpRule kRules[kLastOp + 1] = {
    /*   0 (0)            */ kNone,
    /*   1 ADD            */ kAddRow,
    /*   2 BOF            */ kEndTest,
    /*   3 BUILDfile      */ kWholeFile,
    /*   4 APPEND         */ kAppendRow,
    /*   5 BUILDdyn       */ kPlain,
    /*   6 BUILDkey       */ kWholeFile,
    /*   7 CLOSE          */ {3, 1, 4, 0, 257, 0},
    /*   8 COMMIT         */ {1, 1, 0, 0, 4, 0},
    /*   9 COPY           */ kClosedOnly,
    /*  10 CREATE         */ kClosedOnly,
    /*  11 DELETE         */ kDeleteRow,
    /*  12 DUPLICATE      */ kQuery,
    /*  13 EMPTY          */ kWholeFile,
    /*  14 EOF            */ kEndTest,
    /*  15 GETfilekey     */ kGet,
    /*  16 GETfileptr     */ kGet,
    /*  17 GETkeyptr      */ kGet,
    /*  18 HOLDfile       */ kHold,
    /*  19 HOLDfilesec    */ kHold,
    /*  20 LOCKfile       */ kLock,
    /*  21 LOCKfilesec    */ kLock,
    /*  22 LOGOUT         */ {1, 1, 4, 4, 0, 0},
    /*  23 NAME           */ kNone,
    /*  24 NEXT           */ kSequential,
    /*  25 OPEN           */ kOpening,
    /*  26 PACK           */ kWholeFile,
    /*  27 POINTERfile    */ kCurrentQuery,
    /*  28 POINTERkey     */ kCurrentQuery,
    /*  29 FLUSH          */ {1, 1, 0, 0, 8, 0},
    /*  30 PUT            */ kRewrite,
    /*  31 PREVIOUS       */ kSequential,
    /*  32 RECORDSfile    */ kQuery,
    /*  33 RECORDSkey     */ kQuery,
    /*  34 BUILDdynfilter */ kPlain,
    /*  35 STARTRAN       */ kNone,
    /*  36 RELEASE        */ kPlain,
    /*  37 REMOVE         */ kClosedOnly,
    /*  38 RENAME         */ kClosedOnly,
    /*  39 ENDTRAN        */ kNone,
    /*  40 ROLLBACK       */ {1, 1, 0, 0, 4, 0},
    /*  41 SETfile        */ kSetOrder,
    /*  42 SETfilekey     */ kSetOrder,
    /*  43 SETfileptr     */ kSetOrder,
    /*  44 SETkey         */ kSetOrder,
    /*  45 SETkeykey      */ kSetOrder,
    /*  46 SETkeyptr      */ kSetOrder,
    /*  47 SETkeykeyptr   */ kSetOrder,
    /*  48 SHARE          */ kOpening,
    /*  49 SKIP           */ {1, 33, 0, 0, 0, 0},
    /*  50 UNLOCK         */ {1, 17, 4, 0, 16, 0},
    /*  51 ADDfilelen     */ kAddRow,
    /*  52 BYTES          */ kQuery,
    /*  53 GETfileptrlen  */ kGet,
    /*  54 PUTfileptr     */ kPutAt,
    /*  55 PUTfileptrlen  */ kPutAt,
    /*  56 STREAM         */ {1, 1, 0, 8, 0, 0},
    /*  57 DUPLICATEkey   */ kQuery,
    /*  58 WATCH          */ {1, 1, 0, 512, 0, 0},
    /*  59 APPENDlen      */ kAppendRow,
    /*  60 SEND           */ kNone,
    /*  61 POSITIONfile   */ kPosition,
    /*  62 POSITIONkey    */ kPosition,
    /*  63 RESETfile      */ kSetOrder,
    /*  64 RESETkey       */ kSetOrder,
    /*  65 NOMEMO         */ kQuery,
    /*  66 REGETfile      */ kReget,
    /*  67 REGETkey       */ kReget,
    /*  68 NULL           */ kNone,
    /*  69 SETNULL        */ kNone,
    /*  70 SETNONULL      */ kNone,
    /*  71 SET_PROPERTY   */ kNone,
    /*  72 GET_PROPERTY   */ kNone,
    /*  73 QUERY_KEY      */ kNone,
    /*  74 QUERY_VIEW     */ kNone,
    /*  75 BLOB_YIELD     */ kQuery,
    /*  76 BLOB_TAKE      */ kQuery,
    /*  77 BLOB_SIZE      */ kQuery,
    /*  78 BLOB_SET_PROP  */ kQuery,
    /*  79 BLOB_GET_PROP  */ kQuery,
    /*  80 BUFFER         */ kPlain,
    /*  81 SETview        */ kSetOrder,
    /*  82 CLEAR          */ kNone,
    /*  83 RESETviewfile  */ kSetOrder,
    /*  84 BUILDevent     */ kNone,
    /*  85 SETPROPERTYkey */ kNone,
    /*  86 GETPROPERTYkey */ kNone,
    /*  87 Internal87     */ kNone,
    /*  88 DO_PROPERTY    */ kNone,
    /*  89 DOPROPERTYkey  */ kNone,
    /*  90 DOPROPERTYblob */ kNone,
    /*  91 Internal91     */ kNone,
    /*  92 INVIEW         */ {0, 1, 0, 256, 0, 0},
    /*  93 ENDVIEW        */ {0, 1, 0, 0, 256, 0},
    /*  94 Internal94     */ kNone,
    /*  95 COUNTRECORDS   */ kNone,
    /*  96 GETNULLS       */ kNone,
    /*  97 SETNULLS       */ kNone,
    /*  98 GETSTATE       */ kNone,
    /*  99 RESTORESTATE   */ kNone,
    /* 100 Internal100    */ kNone,
    /* 101 (101)          */ kNone,
    /* 102 FREESTATE      */ kNone,
    /* 103 SQLCALLBACK    */ kNone,
    /* 104 DESTROY        */ kNone,
};

bool AllowedWhileBuilding(int32_t op) {
    return op == kBuildEvent || op == kGetProperty || op == kGetPropertyKey || op == kClose ||
           op == kName;
}

int MissingBitsError(uint32_t missing, uint32_t status) {
    if (missing & kStOpen) return 37;
    if (missing & kStInView) return 46;
    if (!(status & kStOpen)) return kSilent;
    if (missing & (kStCurrent | kStSequence)) return 33;
    if (missing & kStDenyWrite) return 63;
    if (missing & kStWriteAccess) return 5;
    return kSilent;
}

}  // namespace

const OpRule* RuleOf(int32_t op) {
    if (op < 1 || op > kLastOp) return nullptr;
    return &kRules[op];
}

int CheckRules(int32_t op, uint32_t status, bool keyOfOtherFile) {
    const OpRule* rule = RuleOf(op);
    if (!rule) return 80;
    if (keyOfOtherFile) return 38;
    uint32_t missing = rule->requires & ~status;
    if (missing) return MissingBitsError(missing, status);
    if ((status & kStBuilding) && !AllowedWhileBuilding(op)) return 92;
    uint32_t forbidden = rule->forbids & status;
    if (forbidden & kStOpen) return 52;
    if (forbidden & kStLogout) return 56;
    if (forbidden) return kSilent;
    return 0;
}

uint32_t StatusAfter(int32_t op, uint32_t status, bool succeeded) {
    const OpRule* rule = RuleOf(op);
    uint32_t watch = kStWatchPending | kStWatchArmed;
    if (!rule) return status & ~watch;
    if (!succeeded) return status & ~rule->clearOnFailure & ~watch;
    if (op == kClose && (status & kStOpen)) return 0;
    return ((status | rule->setOnSuccess) & ~rule->clearOnSuccess) & ~watch;
}

}  // namespace dove::files
