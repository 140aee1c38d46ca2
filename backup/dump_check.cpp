#include "dump_check.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QSet>
#include <optional>
#include <vector>

#include "sql_dump.h"

namespace {

// The client reads no statement longer than its packet limit (16 MiB); a longer one is not
// something the dump tool writes.
constexpr qint64 kMaxStatement = qint64(16) * 1024 * 1024;

// The line the dump tool puts first: it turns the client's sandbox mode on.
const QByteArray kSandboxLine("/*M!999999\\- enable the sandbox mode */");

enum class Kind : uint8_t { Word, Quoted, String, Number, Variable, Symbol };

struct Token {
  Kind kind;
  const char* text;  // into the dump: the content of a string or quoted name, without quotes
  int size;

  QByteArray Upper() const { return QByteArray(text, size).toUpper(); }
  bool Is(const char* upper) const {
    return kind == Kind::Word && qstrnicmp(text, size, upper, qstrlen(upper)) == 0;
  }
  bool IsSymbol(char c) const { return kind == Kind::Symbol && text[0] == c; }
  bool IsName() const { return kind == Kind::Word || kind == Kind::Quoted; }
};

using Tokens = std::vector<Token>;

bool IsSpace(uchar c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
bool IsDigit(uchar c) { return c >= '0' && c <= '9'; }
bool IsWordChar(uchar c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' ||
         c >= 0x80;
}

// A number as the server reads one (upper-cased): digits with a point and an exponent, or
// 0X.. and 0B...
bool IsNumber(const QByteArray& n) {
  if (n.startsWith("0X") || n.startsWith("0B")) {
    const bool hex = n[1] == 'X';
    for (qsizetype i = 2; i < n.size(); ++i)
      if (hex ? !(IsDigit(n[i]) || (n[i] >= 'A' && n[i] <= 'F')) : !(n[i] == '0' || n[i] == '1'))
        return false;
    return n.size() > 2;
  }
  qsizetype i = 0, digits = 0;
  const auto skipDigits = [&] {
    while (i < n.size() && IsDigit(n[i])) ++i, ++digits;
  };
  skipDigits();
  if (i < n.size() && n[i] == '.') ++i;
  skipDigits();
  if (digits == 0) return false;
  if (i < n.size() && n[i] == 'E') {
    ++i;
    if (i < n.size() && (n[i] == '+' || n[i] == '-')) ++i;
    const qsizetype before = digits;
    skipDigits();
    if (digits == before) return false;
  }
  return i == n.size();
}

class Cursor {
 public:
  explicit Cursor(const Tokens& t) : m_t(t) {}
  bool AtEnd() const { return m_i >= m_t.size(); }
  const Token* Peek(size_t ahead = 0) const {
    return m_i + ahead < m_t.size() ? &m_t[m_i + ahead] : nullptr;
  }
  const Token* Next() { return AtEnd() ? nullptr : &m_t[m_i++]; }
  bool Word(const char* upper) { return Take(Peek() && Peek()->Is(upper)); }
  bool Symbol(char c) { return Take(Peek() && Peek()->IsSymbol(c)); }
  bool Name() { return Take(Peek() && Peek()->IsName()); }
  size_t Position() const { return m_i; }

 private:
  bool Take(bool match) {
    if (match) ++m_i;
    return match;
  }
  const Tokens& m_t;
  size_t m_i = 0;
};

// A value of a SET: one literal, or a variable. A user variable keeps what it was given: a
// literal, or the session's own setting (nullopt).
struct Value {
  bool fromSession = false;
  QByteArray literal;
};

const QSet<QByteArray> kSessionVariables{"CHARACTER_SET_CLIENT",
                                         "CHARACTER_SET_RESULTS",
                                         "CHARACTER_SET_CONNECTION",
                                         "COLLATION_CONNECTION",
                                         "TIME_ZONE",
                                         "SQL_MODE",
                                         "UNIQUE_CHECKS",
                                         "FOREIGN_KEY_CHECKS",
                                         "SQL_NOTES",
                                         "AUTOCOMMIT",
                                         "SQL_QUOTE_SHOW_CREATE",
                                         "NOTE_VERBOSITY"};
const QSet<QByteArray> kCharsetVariables{"CHARACTER_SET_CLIENT", "CHARACTER_SET_RESULTS",
                                         "CHARACTER_SET_CONNECTION", "NAMES"};
// Character sets in which no byte of a letter can be read as a quote or a backslash: the client
// splits statements the same way in all of them.
const QSet<QByteArray> kSafeCharsets{"UTF8MB4", "UTF8MB3", "UTF8",   "LATIN1", "LATIN2",
                                     "ASCII",   "BINARY",  "CP1250", "CP852"};
// Modes that leave strings and quotes as the check reads them (not ANSI_QUOTES,
// NO_BACKSLASH_ESCAPES, nor a combination holding one of them).
const QSet<QByteArray> kSafeModes{"",
                                  "STRICT_TRANS_TABLES",
                                  "STRICT_ALL_TABLES",
                                  "ERROR_FOR_DIVISION_BY_ZERO",
                                  "NO_AUTO_CREATE_USER",
                                  "NO_ENGINE_SUBSTITUTION",
                                  "NO_AUTO_VALUE_ON_ZERO",
                                  "NO_ZERO_DATE",
                                  "NO_ZERO_IN_DATE",
                                  "ONLY_FULL_GROUP_BY",
                                  "NO_DIR_IN_CREATE",
                                  "NO_UNSIGNED_SUBTRACTION",
                                  "ALLOW_INVALID_DATES",
                                  "NO_FIELD_OPTIONS",
                                  "NO_KEY_OPTIONS",
                                  "NO_TABLE_OPTIONS",
                                  "REAL_AS_FLOAT",
                                  "HIGH_NOT_PRECEDENCE",
                                  "TRADITIONAL",
                                  "SIMULTANEOUS_ASSIGNMENT",
                                  "TIME_ROUND_FRACTIONAL",
                                  "PAD_CHAR_TO_FULL_LENGTH",
                                  "EMPTY_STRING_IS_NULL"};
// Storage engines that keep a table in the database's own files.
const QSet<QByteArray> kEngines{"INNODB", "MYISAM", "ARIA", "MEMORY", "HEAP"};
// Words a "(" may follow in a table definition: types, keys, checks, the time functions.
const QSet<QByteArray> kOpenAfter{"TINYINT",      "SMALLINT",     "MEDIUMINT", "INT",
                                  "INTEGER",      "BIGINT",       "DECIMAL",   "DEC",
                                  "NUMERIC",      "FIXED",        "FLOAT",     "DOUBLE",
                                  "REAL",         "CHAR",         "VARCHAR",   "NCHAR",
                                  "NVARCHAR",     "CHARACTER",    "VARYING",   "BINARY",
                                  "VARBINARY",    "BIT",          "ENUM",      "SET",
                                  "DATETIME",     "TIMESTAMP",    "TIME",      "YEAR",
                                  "TEXT",         "BLOB",         "KEY",       "INDEX",
                                  "PRIMARY",      "UNIQUE",       "FOREIGN",   "FULLTEXT",
                                  "SPATIAL",      "CHECK",        "AS",        "DEFAULT",
                                  "NOW",          "CURDATE",      "CURTIME",   "CURRENT_TIMESTAMP",
                                  "CURRENT_DATE", "CURRENT_TIME", "LOCALTIME", "LOCALTIMESTAMP",
                                  "UTC_TIMESTAMP"};
// Words a definition never needs: another table's rows, files or servers, partitions.
const QSet<QByteArray> kForbiddenInCreate{"SELECT", "DIRECTORY",       "CONNECTION",
                                          "UNION",  "PARTITION",       "TABLESPACE",
                                          "LIKE",   "ENGINE_ATTRIBUTE"};
// Names that read or write files wherever they stand.
const QSet<QByteArray> kFileWords{"LOAD_FILE", "OUTFILE", "DUMPFILE", "INFILE"};

class DumpChecker {
 public:
  DumpChecker(const char* data, qint64 size) : m_data(data), m_size(size) {
    if (QByteArray::fromRawData(data, int(qMin<qint64>(size, kSandboxLine.size()))) == kSandboxLine)
      m_pos = kSandboxLine.size();
  }

  bool Confined() {
    Tokens tokens;
    for (;;) {
      bool end = false;
      if (!Scan(tokens, end) || !Check(tokens)) return false;
      if (end) return true;
    }
  }

 private:
  uchar At(qint64 p) const { return p < m_size ? uchar(m_data[p]) : 0; }

  // The tokens of the next statement (up to ";" outside strings and comments); false for a text
  // the client and the server could read otherwise, or one that holds a client command.
  bool Scan(Tokens& tokens, bool& end) {
    tokens.clear();
    const qint64 start = m_pos;
    while (m_pos < m_size) {
      if (m_pos - start > kMaxStatement) return false;
      const uchar c = At(m_pos);
      const uchar next = At(m_pos + 1);
      if (c == 0 || c == '\\') return false;  // a client command, or text the client refuses
      if (c == ';') {
        ++m_pos;
        return !m_executed;  // the client would end the statement inside a /*!...*/
      }
      if (IsSpace(c)) {
        ++m_pos;
      } else if (c == '/' && next == '*') {
        if (m_executed) return false;
        qint64 p = m_pos + 2;
        if (At(p) == '!' || (At(p) == 'M' && At(p + 1) == '!')) {
          // Run by the server: the marker and its version go, what follows is a statement's.
          p += At(p) == 'M' ? 2 : 1;
          while (IsDigit(At(p))) ++p;
          m_executed = true;
          m_pos = p;
          continue;
        }
        const qint64 close = QByteArray::fromRawData(m_data + p, int(m_size - p)).indexOf("*/");
        if (close < 0) return false;
        m_pos = p + close + 2;
      } else if (c == '*' && next == '/' && m_executed) {
        m_executed = false;
        m_pos += 2;
      } else if (c == '#' ||
                 (c == '-' && next == '-' && (IsSpace(At(m_pos + 2)) || m_pos + 2 >= m_size))) {
        if (m_executed) return false;  // the client drops the rest of the line, "*/" with it
        while (m_pos < m_size && At(m_pos) != '\n') ++m_pos;
      } else if (c == '\'' || c == '"' || c == '`') {
        if (!Quoted(tokens, char(c))) return false;
      } else if (c == '@') {
        const qint64 from = m_pos++;
        if (At(m_pos) == '@') ++m_pos;
        while (IsWordChar(At(m_pos)) || At(m_pos) == '.') ++m_pos;
        if (m_pos == from + 1 || At(m_pos - 1) == '@') return false;  // @'name' and the like
        tokens.push_back({Kind::Variable, m_data + from, int(m_pos - from)});
      } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
        const qint64 from = m_pos;
        const bool hex = c == '0' && (next == 'x' || next == 'X');
        const auto exponentSign = [&] {
          const uchar prev = At(m_pos - 1);
          return !hex && (At(m_pos) == '+' || At(m_pos) == '-') && (prev == 'e' || prev == 'E');
        };
        while (IsWordChar(At(m_pos)) || At(m_pos) == '.' || exponentSign()) ++m_pos;
        if (!IsNumber(QByteArray(m_data + from, int(m_pos - from)).toUpper())) return false;
        tokens.push_back({Kind::Number, m_data + from, int(m_pos - from)});
      } else if (IsWordChar(c)) {
        const qint64 from = m_pos;
        while (IsWordChar(At(m_pos))) ++m_pos;
        tokens.push_back({Kind::Word, m_data + from, int(m_pos - from)});
      } else {
        tokens.push_back({Kind::Symbol, m_data + m_pos, 1});
        ++m_pos;
      }
    }
    end = true;
    return !m_executed;
  }

  // A string ('...' or "...", backslash escapes, doubled quotes) or a quoted name (`...`).
  bool Quoted(Tokens& tokens, char quote) {
    const qint64 from = ++m_pos;
    while (m_pos < m_size) {
      const uchar c = At(m_pos);
      if (c == 0) return false;
      if (c == '\\' && quote != '`') {
        m_pos += 2;
      } else if (c == uchar(quote)) {
        if (At(m_pos + 1) != uchar(quote)) {
          tokens.push_back(
              {quote == '`' ? Kind::Quoted : Kind::String, m_data + from, int(m_pos - from)});
          ++m_pos;
          return true;
        }
        m_pos += 2;
      } else {
        ++m_pos;
      }
    }
    return false;
  }

  bool Check(const Tokens& t) {
    if (t.empty()) return true;
    for (const Token& k : t) {
      if (k.IsSymbol('.')) return false;  // a name qualified with a database
      if (k.kind == Kind::Word && kFileWords.contains(k.Upper())) return false;
    }
    Cursor c(t);
    if (c.Word("SET")) return CheckSet(c);
    if (c.Word("DROP")) {
      if (!c.Word("TABLE")) return false;
      if (c.Word("IF") && !c.Word("EXISTS")) return false;
      do {
        if (!c.Name()) return false;
      } while (c.Symbol(','));
      return c.AtEnd();
    }
    if (c.Word("CREATE")) return CheckCreateTable(c, t);
    if (c.Word("LOCK")) return (c.Word("TABLES") || c.Word("TABLE")) && CheckLockList(c);
    if (c.Word("UNLOCK")) return (c.Word("TABLES") || c.Word("TABLE")) && c.AtEnd();
    if (c.Word("ALTER"))
      return c.Word("TABLE") && c.Name() && (c.Word("DISABLE") || c.Word("ENABLE")) &&
             c.Word("KEYS") && c.AtEnd();
    if (c.Word("INSERT") || c.Word("REPLACE")) return CheckInsert(c);
    if (c.Word("START")) return c.Word("TRANSACTION") && c.AtEnd();
    if (c.Word("COMMIT")) return c.AtEnd();
    return false;
  }

  bool CheckSet(Cursor& c) {
    do {
      if (!SetItem(c)) return false;
    } while (c.Symbol(','));
    return c.AtEnd();
  }

  bool SetItem(Cursor& c) {
    const Token* t = c.Next();
    if (!t) return false;
    if (t->kind == Kind::Variable) {
      QByteArray name = t->Upper();
      if (name.startsWith("@@")) return SessionAssign(c, SessionName(name.mid(2)));
      Value v;
      if (!Assign(c) || !ReadValue(c, v)) return false;
      if (v.fromSession)
        m_variables[name] = std::nullopt;
      else
        m_variables[name] = v.literal;
      return true;
    }
    if (t->kind != Kind::Word) return false;
    if (t->Is("NAMES")) {
      const Token* set = c.Next();
      if (!set || !(set->kind == Kind::Word || set->kind == Kind::String) ||
          !kSafeCharsets.contains(set->Upper()))
        return false;
      if (c.Word("COLLATE")) {
        const Token* collation = c.Next();
        return collation && (collation->kind == Kind::Word || collation->kind == Kind::String);
      }
      return true;
    }
    if (t->Is("SESSION") || t->Is("LOCAL")) {
      t = c.Next();
      if (!t || t->kind != Kind::Word) return false;
    }
    return SessionAssign(c, t->Upper());
  }

  // "SESSION.X" and "LOCAL.X" are X; another prefix (GLOBAL.) stays and is refused.
  static QByteArray SessionName(const QByteArray& name) {
    for (const char* prefix : {"SESSION.", "LOCAL."})
      if (name.startsWith(prefix)) return name.mid(qstrlen(prefix));
    return name;
  }

  static bool Assign(Cursor& c) {
    if (c.Symbol('=')) return true;
    return c.Symbol(':') && c.Symbol('=');
  }

  bool ReadValue(Cursor& c, Value& v) {
    while (c.Symbol('-') || c.Symbol('+')) {
    }
    const Token* t = c.Next();
    if (!t) return false;
    if (t->kind == Kind::Variable) {
      const QByteArray name = t->Upper();
      if (name.startsWith("@@")) {
        v.fromSession = true;
        return kSessionVariables.contains(SessionName(name.mid(2)));
      }
      const auto it = m_variables.constFind(name);
      v.fromSession = it != m_variables.cend() && !it->has_value();
      if (it != m_variables.cend() && it->has_value()) v.literal = **it;
      return true;
    }
    if (t->kind != Kind::Word && t->kind != Kind::String && t->kind != Kind::Number) return false;
    v.literal = t->Upper();
    return !c.Peek() || c.Peek()->IsSymbol(',');
  }

  bool SessionAssign(Cursor& c, const QByteArray& variable) {
    if (!kSessionVariables.contains(variable)) return false;
    Value v;
    if (!Assign(c) || !ReadValue(c, v)) return false;
    if (v.fromSession) return true;
    if (kCharsetVariables.contains(variable)) return kSafeCharsets.contains(v.literal);
    if (variable == "SQL_MODE") {
      for (const QByteArray& mode : v.literal.split(','))
        if (!kSafeModes.contains(mode.trimmed())) return false;
    }
    return true;
  }

  bool CheckCreateTable(Cursor& c, const Tokens& t) {
    if (!c.Word("TABLE")) return false;
    if (c.Word("IF") && !(c.Word("NOT") && c.Word("EXISTS"))) return false;
    if (!c.Name() || !c.Symbol('(')) return false;  // its own columns, not another's
    for (size_t i = c.Position(); i < t.size(); ++i) {
      const Token& k = t[i];
      if (k.kind == Kind::Variable) return false;
      if (k.kind == Kind::Word) {
        const QByteArray word = k.Upper();
        if (kForbiddenInCreate.contains(word)) return false;
        if ((word == "ENGINE" || word == "TYPE") && i + 1 < t.size()) {
          size_t e = i + 1;
          if (t[e].IsSymbol('=')) ++e;
          const bool engine = word == "ENGINE" || e > i + 1;  // TYPE=..., as older dumps wrote
          if (engine && (e >= t.size() || !kEngines.contains(t[e].Upper()))) return false;
        }
      }
      if (k.IsSymbol('(') && !OpenAllowed(t, i)) return false;
    }
    return true;
  }

  // A "(" in a table definition: a type's size, a key's columns, a parenthesised expression, a
  // time function, a column prefix; not a call of any other function.
  static bool OpenAllowed(const Tokens& t, size_t i) {
    const Token& before = t[i - 1];
    if (before.kind == Kind::Symbol) return true;
    if (before.kind == Kind::Word && kOpenAfter.contains(before.Upper())) return true;
    if (before.IsName() && i >= 2 &&
        (t[i - 2].Is("KEY") || t[i - 2].Is("INDEX") || t[i - 2].Is("REFERENCES")))
      return true;
    return before.kind == Kind::Quoted && i + 2 < t.size() && t[i + 1].kind == Kind::Number &&
           t[i + 2].IsSymbol(')');
  }

  static bool CheckLockList(Cursor& c) {
    do {
      if (!c.Name()) return false;
      const Token* next = c.Peek();
      const bool lockWord =
          next && (next->Is("READ") || next->Is("WRITE") || next->Is("LOW_PRIORITY"));
      if ((c.Word("AS") || (next && next->IsName() && !lockWord)) && !c.Name()) return false;
      if (c.Word("READ")) {
        c.Word("LOCAL");
      } else {
        c.Word("LOW_PRIORITY");
        if (!c.Word("WRITE")) return false;
        c.Word("CONCURRENT");
      }
    } while (c.Symbol(','));
    return c.AtEnd();
  }

  static bool CheckInsert(Cursor& c) {
    while (c.Word("IGNORE") || c.Word("LOW_PRIORITY") || c.Word("DELAYED") ||
           c.Word("HIGH_PRIORITY")) {
    }
    if (!c.Word("INTO") || !c.Name()) return false;
    if (c.Symbol('(')) {
      do {
        if (!c.Name()) return false;
      } while (c.Symbol(','));
      if (!c.Symbol(')')) return false;
    }
    if (!c.Word("VALUES") && !c.Word("VALUE")) return false;
    do {
      if (!c.Symbol('(')) return false;
      if (c.Symbol(')')) continue;
      do {
        if (!Literal(c)) return false;
      } while (c.Symbol(','));
      if (!c.Symbol(')')) return false;
    } while (c.Symbol(','));
    return c.AtEnd();
  }

  // A plain value: a number, a string (with its character set or as X'..'), NULL, DEFAULT.
  static bool Literal(Cursor& c) {
    while (c.Symbol('-') || c.Symbol('+')) {
    }
    const Token* t = c.Next();
    if (!t) return false;
    if (t->kind == Kind::Number || t->kind == Kind::String) return true;
    if (t->kind != Kind::Word) return false;
    if (t->Is("NULL") || t->Is("DEFAULT") || t->Is("TRUE") || t->Is("FALSE")) return true;
    const bool introducer = t->text[0] == '_' || t->Is("X") || t->Is("B") || t->Is("N");
    return introducer && c.Peek() && c.Peek()->kind == Kind::String && c.Next();
  }

  const char* m_data;
  qint64 m_size;
  qint64 m_pos = 0;
  bool m_executed = false;  // inside /*!...*/
  QHash<QByteArray, std::optional<QByteArray>> m_variables;
};

}  // namespace

TDumpCheck CheckDump(const QString& fileName) {
  if (!DumpCompleted(fileName)) return TDumpCheck::Incomplete;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return TDumpCheck::Incomplete;
  const qint64 size = file.size();
  const uchar* data = size > 0 ? file.map(0, size) : nullptr;
  if (!data) return TDumpCheck::Incomplete;
  const bool confined = DumpChecker(reinterpret_cast<const char*>(data), size).Confined();
  file.unmap(const_cast<uchar*>(data));
  return confined ? TDumpCheck::Confined : TDumpCheck::Outside;
}
