// A loadable SQLite extension that makes text compare as the suite's server
// does: letter case ignored, accents kept, Spanish order. The client loads it
// into every SQLite connection (the driver's LoadExt attribute) and the demo
// tools load it into the sqlite3 shell, so the demo schema's columns can be
// declared with its collation.
//
//   COLLATE ma_es      Spanish, case-insensitive, accent-sensitive
//   like(p, s[, e])    LIKE with the same rule: 'ferr%' finds "Ferretería", '%CÓRDOBA%' finds "Córdoba"
//   upper(s), lower(s) every letter, accented ones included
//   ma_sqlite_text()   the extension's version, for the client's check that it is there
#include <sqlite3ext.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/utf8.h>

#include <string>
#include <vector>

SQLITE_EXTENSION_INIT1

namespace {

constexpr const char* kVersion = "1";

std::u32string Decode(const unsigned char* s, int n) {
  std::u32string out;
  out.reserve(static_cast<size_t>(n));
  int i = 0;
  while (i < n) {
    UChar32 c = 0;
    U8_NEXT(s, i, n, c);
    out.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(c));
  }
  return out;
}

void Encode(char32_t c, std::string& out) {
  uint8_t buf[U8_MAX_LENGTH];
  int32_t len = 0;
  UBool bad = false;
  U8_APPEND(buf, len, U8_MAX_LENGTH, static_cast<UChar32>(c), bad);
  if (bad) return;
  out.append(reinterpret_cast<const char*>(buf), static_cast<size_t>(len));
}

int Collate(void* arg, int n1, const void* s1, int n2, const void* s2) {
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r = ucol_strcollUTF8(static_cast<UCollator*>(arg), static_cast<const char*>(s1), n1,
                                              static_cast<const char*>(s2), n2, &status);
  if (U_FAILURE(status)) {  // not valid UTF-8: byte order keeps the answer consistent
    const int c = std::string(static_cast<const char*>(s1), static_cast<size_t>(n1))
                      .compare(std::string(static_cast<const char*>(s2), static_cast<size_t>(n2)));
    return c < 0 ? -1 : c > 0;
  }
  return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

void CloseCollator(void* arg) { ucol_close(static_cast<UCollator*>(arg)); }

char32_t Fold(char32_t c) {
  return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

// '%' any run, '_' one character, `esc` makes the next character plain. Iterative,
// going back only to the last '%', so no pattern takes more than length x length steps.
bool Match(const std::u32string& p, const std::u32string& s, char32_t esc, bool hasEsc) {
  size_t pi = 0, si = 0;
  size_t starP = std::u32string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size()) {
      const char32_t pc = p[pi];
      if (hasEsc && pc == esc && pi + 1 < p.size()) {
        if (Fold(p[pi + 1]) == Fold(s[si])) {
          pi += 2;
          ++si;
          continue;
        }
      } else if (pc == U'%') {
        starP = ++pi;
        starS = si;
        continue;
      } else if (pc == U'_' || Fold(pc) == Fold(s[si])) {
        ++pi;
        ++si;
        continue;
      }
    }
    if (starP == std::u32string::npos) return false;
    pi = starP;
    si = ++starS;
  }
  while (pi < p.size() && p[pi] == U'%') ++pi;
  return pi == p.size();
}

void Like(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return;  // NULL
  const auto* pat = sqlite3_value_text(argv[0]);
  const int patLen = sqlite3_value_bytes(argv[0]);
  const auto* str = sqlite3_value_text(argv[1]);
  const int strLen = sqlite3_value_bytes(argv[1]);
  char32_t esc = 0;
  if (argc == 3) {
    const std::u32string e = Decode(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]));
    if (e.size() != 1) {
      sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
      return;
    }
    esc = e[0];
  }
  sqlite3_result_int(ctx, Match(Decode(pat, patLen), Decode(str, strLen), esc, argc == 3));
}

template <UChar32 (*Map)(UChar32)>
void CaseMap(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
  const std::u32string in = Decode(sqlite3_value_text(argv[0]), sqlite3_value_bytes(argv[0]));
  std::string out;
  out.reserve(in.size());
  for (char32_t c : in) Encode(static_cast<char32_t>(Map(static_cast<UChar32>(c))), out);
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void Version(sqlite3_context* ctx, int, sqlite3_value**) {
  sqlite3_result_text(ctx, kVersion, -1, SQLITE_STATIC);
}

}  // namespace

extern "C" {

#ifdef _WIN32
__declspec(dllexport)
#endif
    int sqlite3_extension_init(sqlite3* db, char** errMsg, const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  UErrorCode status = U_ZERO_ERROR;
  UCollator* es = ucol_open("es", &status);
  if (U_FAILURE(status)) {
    *errMsg = sqlite3_mprintf("ma_sqlite_text: no Spanish collation in ICU (%s)", u_errorName(status));
    return SQLITE_ERROR;
  }
  ucol_setStrength(es, UCOL_SECONDARY);  // base letters and accents count, case does not
  int rc = sqlite3_create_collation_v2(db, "ma_es", SQLITE_UTF8, es, Collate, CloseCollator);
  if (rc != SQLITE_OK) {
    ucol_close(es);
    return rc;
  }
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  for (int n : {2, 3})
    if ((rc = sqlite3_create_function(db, "like", n, flags, nullptr, Like, nullptr, nullptr)) != SQLITE_OK)
      return rc;
  if ((rc = sqlite3_create_function(db, "upper", 1, flags, nullptr, CaseMap<u_toupper>, nullptr, nullptr)) !=
      SQLITE_OK)
    return rc;
  if ((rc = sqlite3_create_function(db, "lower", 1, flags, nullptr, CaseMap<u_tolower>, nullptr, nullptr)) !=
      SQLITE_OK)
    return rc;
  return sqlite3_create_function(db, "ma_sqlite_text", 0, flags, nullptr, Version, nullptr, nullptr);
}

}  // extern "C"
