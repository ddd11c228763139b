#include "files/object/file_codes.h"

namespace dove::files {

namespace {

const char* const kOperationNames[kLastOp + 1] = {
    "(0)", "ADD", "BOF", "BUILDfile", "APPEND", "BUILDdyn", "BUILDkey", "CLOSE", "COMMIT",
    "COPY", "CREATE", "DELETE", "DUPLICATE", "EMPTY", "EOF", "GETfilekey", "GETfileptr",
    "GETkeyptr", "HOLDfile", "HOLDfilesec", "LOCKfile", "LOCKfilesec", "LOGOUT", "NAME",
    "NEXT", "OPEN", "PACK", "POINTERfile", "POINTERkey", "FLUSH", "PUT", "PREVIOUS",
    "RECORDSfile", "RECORDSkey", "BUILDdynfilter", "STARTRAN", "RELEASE", "REMOVE", "RENAME",
    "ENDTRAN", "ROLLBACK", "SETfile", "SETfilekey", "SETfileptr", "SETkey", "SETkeykey",
    "SETkeyptr", "SETkeykeyptr", "SHARE", "SKIP", "UNLOCK", "ADDfilelen", "BYTES",
    "GETfileptrlen", "PUTfileptr", "PUTfileptrlen", "STREAM", "DUPLICATEkey", "WATCH",
    "APPENDlen", "SEND", "POSITIONfile", "POSITIONkey", "RESETfile", "RESETkey", "NOMEMO",
    "REGETfile", "REGETkey", "NULL", "SETNULL", "SETNONULL", "SET_PROPERTY", "GET_PROPERTY",
    "QUERY_KEY", "QUERY_VIEW", "BLOB_YIELD", "BLOB_TAKE", "BLOB_SIZE", "BLOB_SET_PROP",
    "BLOB_GET_PROP", "BUFFER", "SETview", "CLEAR", "RESETviewfile", "BUILDevent",
    "SETPROPERTYkey", "GETPROPERTYkey", "Internal87", "DO_PROPERTY", "DOPROPERTYkey",
    "DOPROPERTYblob", "Internal91", "INVIEW", "ENDVIEW", "Internal94", "COUNTRECORDS",
    "GETNULLS", "SETNULLS", "GETSTATE", "RESTORESTATE", "Internal100", "(101)", "FREESTATE",
    "SQLCALLBACK", "DESTROY",
};

const char* const kFieldTypeNames[31] = {
    "END", "BYTE", "SHORT", "USHORT", "DATE", "TIME", "LONG", "ULONG", "SREAL", "REAL",
    "DECIMAL", "PDECIMAL", "DUM1", "BFLOAT4", "BFLOAT8", "ANY", "TEMPUFO", "(17)", "STRING",
    "CSTRING", "PSTRING", "MEMO", "GROUP", "CLASS", "ARRAY", "FIELD", "QUEUE", "BLOB",
    "STACKSTR", "PICTURE", "STDNUM",
};

}  // namespace

const char* OperationName(int32_t code) {
    if (code < 0 || code > kLastOp) return kOperationNames[0];
    return kOperationNames[code];
}

const char* FieldTypeName(int32_t code) {
    if (code < 0 || code > 30) return "UNKNOWN";
    return kFieldTypeNames[code];
}

}  // namespace dove::files
