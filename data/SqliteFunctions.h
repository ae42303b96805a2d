#pragma once

struct sqlite3;

// Registers on one SQLite handle the text rules of the store: the caseless
// collation and a LIKE that ignore letter case beyond ASCII (Cyrillic).
// Returns false when SQLite refused a registration.
bool registerSqliteFunctions(sqlite3* handle);

// Exposed for tests: caseless comparison and LIKE matching as registered.
int caselessCompare(const char* a, int lengthA, const char* b, int lengthB);
bool caselessLike(const char* pattern, const char* text, char32_t escape);
