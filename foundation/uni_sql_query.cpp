#include "uni_sql_query.h"

#include <QFileInfo>
#include <memory>

#include "exceptions.h"
#include "text_file.h"

namespace {

bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

QChar AsciiUpper(QChar c) { return (c >= u'a' && c <= u'z') ? QChar(c.unicode() - 'a' + 'A') : c; }

bool SameName(QStringView a, QStringView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

QString AsciiUpper(const QString& text) {
  QString out = text;
  for (QChar& c : out) c = AsciiUpper(c);
  return out;
}

bool IsBlank(QChar c) { return c.unicode() <= ' '; }

QString TrimBlanks(QStringView text) {
  qsizetype from = 0, to = text.size();
  while (from < to && IsBlank(text[from])) ++from;
  while (to > from && IsBlank(text[to - 1])) --to;
  return text.mid(from, to - from).toString();
}

}  // namespace

QString DateToSQL(const QDate& date) {
  const QDate d = date.isValid() ? date : QDate(1900, 1, 1);
  return QStringLiteral("'%1-%2-%3'")
      .arg(d.year(), 4, 10, QChar(u'0'))
      .arg(d.month(), 2, 10, QChar(u'0'))
      .arg(d.day(), 2, 10, QChar(u'0'));
}

QStringList SplitSQLStatements(const QString& script) {
  enum State { Normal, Quoted, Backtick, LineComment, BlockComment };
  QStringList out;
  State state = Normal;
  QChar quote;
  bool content = false;  // the piece holds more than blanks and comments
  qsizetype start = 0;
  const qsizetype n = script.size();
  auto finish = [&](qsizetype end) {
    if (content) out << TrimBlanks(QStringView(script).mid(start, end - start));
    content = false;
  };
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = script[i];
    const QChar next = i + 1 < n ? script[i + 1] : QChar();
    switch (state) {
      case Normal:
        if (c == u';') {
          finish(i);
          start = i + 1;
        } else if (c == u'\'' || c == u'"') {
          state = Quoted;
          quote = c;
          content = true;
        } else if (c == u'`') {
          state = Backtick;
          content = true;
        } else if (c == u'#' ||
                   (c == u'-' && next == u'-' && (i + 2 >= n || IsBlank(script[i + 2])))) {
          state = LineComment;
        } else if (c == u'/' && next == u'*') {
          state = BlockComment;
          // "/*! ... */" is run by the server.
          if (i + 2 < n && script[i + 2] == u'!') content = true;
          ++i;
        } else if (!IsBlank(c)) {
          content = true;
        }
        break;
      case Quoted:
        if (c == u'\\')
          ++i;
        else if (c == quote)
          state = Normal;  // a doubled quote closes and opens again
        break;
      case Backtick:
        if (c == u'`') state = Normal;
        break;
      case LineComment:
        if (c == u'\n') state = Normal;
        break;
      case BlockComment:
        if (c == u'*' && next == u'/') {
          state = Normal;
          ++i;
        }
        break;
    }
  }
  finish(n);
  return out;
}

TUniSQLQuery::TUniSQLQuery(QObject* owner) : Tunisqldataset(owner) {}

TUniSQLQuery::~TUniSQLQuery() { CloseOnDestroy(); }

void TUniSQLQuery::SetSQL(const QString& text) {
  QString t = text;
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (t.endsWith(u'\n')) t.chop(1);
  m_sql = t.isEmpty() ? QStringList() : t.split(u'\n');
}

void TUniSQLQuery::LoadSQLFromFile(const QString& fileName) {
  // The text-file driver makes a missing file; a missing script is an error, not an empty one.
  if (!QFileInfo(fileName).isFile())
    throw EInOutError(2, QStringLiteral("Cannot open file \"%1\"").arg(fileName));
  QStringList lines;
  LoadStringsFromFile(lines, fileName, CodePage::Utf8);
  m_sql = lines;
}

void TUniSQLQuery::SetParam(const QString& name, const QString& value) { Set(name, value, false); }

void TUniSQLQuery::SetParamEscaped(const QString& name, const QString& value) {
  Set(name, value, true);
}

void TUniSQLQuery::Set(const QString& name, const QString& value, bool escaped) {
  for (Param& p : m_params) {
    if (SameName(p.name, name)) {
      p.value = value;
      p.escaped = escaped;
      return;
    }
  }
  m_params.push_back({AsciiUpper(name), value, escaped});
}

QString TUniSQLQuery::SubstitutedText() const {
  QString text;
  for (const QString& line : m_sql) text += line + QStringLiteral("\r\n");
  if (m_params.empty()) return text;
  QString out;
  out.reserve(text.size());
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    if (text[i] != u':' || i + 1 >= n || !IsNameChar(text[i + 1])) {
      out += text[i++];
      continue;
    }
    qsizetype end = i + 1;
    while (end < n && IsNameChar(text[end])) ++end;
    const QStringView name = QStringView(text).mid(i + 1, end - i - 1);
    const Param* param = nullptr;
    for (const Param& p : m_params)
      if (SameName(p.name, name)) param = &p;
    if (!param) {
      out += QStringView(text).mid(i, end - i);
    } else if (param->escaped) {
      CheckedHandle();
      out += Database()->EscapeString(param->value);
    } else {
      out += param->value;
    }
    i = end;
  }
  return out;
}

void TUniSQLQuery::InternalOpen() {
  SetStatementText(SubstitutedText());
  Tunisqldataset::InternalOpen();
}

void TUniSQLQuery::ExecSQL() {
  CheckedHandle();
  for (const QString& statement : SplitSQLStatements(SubstitutedText())) {
    SetStatementText(statement);
    Tunisqldataset::ExecSQL();
  }
}

void RunStatements(TUniSQLDatabase& database, const QStringList& sql) {
  TUniSQLQuery q;
  q.SetDatabase(&database);
  q.SetSQL(sql);
  q.ExecSQL();
}

void RunScriptFiles(TUniSQLDatabase& database, const QStringList& fileNames) {
  std::vector<std::unique_ptr<TUniSQLQuery>> scripts;
  for (const QString& fileName : fileNames) {
    scripts.push_back(std::make_unique<TUniSQLQuery>());
    scripts.back()->SetDatabase(&database);
    scripts.back()->LoadSQLFromFile(fileName);
  }
  for (const auto& script : scripts) script->ExecSQL();
}
