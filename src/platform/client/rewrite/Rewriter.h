#pragma once
// The engine rewriter's inside, shared by its parts: the expression reading
// (SqlExpression.cpp), types (EngineTypes.cpp), function calls
// (EngineFunctions.cpp) and the statement rules (EngineRewrite.cpp).
#include <QString>
#include <vector>

#include "platform/client/Dialect.h"
#include "platform/client/rewrite/EngineRewrite.h"
#include "platform/client/rewrite/SqlTree.h"

namespace ado::sql {

enum class ValueType { Unknown, Text, Number, Date };

const QSet<QString>& TextFunctions();
const QSet<QString>& NumberFunctions();
bool IsTextType(const QString& typeText);
// The type a CAST or CONVERT to this type name gives.
ValueType TypeOfName(const QString& typeText);

// PostgreSQL's Spanish ICU collation, deterministic, for what cannot use ma_es.
const QString& SpanishCollation();

// A datepart of DATEADD, DATEDIFF and DATEPART spelled out ("dd" -> "day"), empty when it is none.
QString DatePartName(const QString& word);
// Whether CONVERT(varchar, date, style) has this style.
bool IsDateStyle(int style);
// That style as a format of PostgreSQL's TO_CHAR.
QString PostgresStyleFormat(int style);
// A date literal's text as the server reads it (dd/mm/yyyy, yyyy-mm-dd, yyyymmdd, with a
// time or not) in the form "yyyy-mm-dd hh:mi:ss.mmm"; empty when it is no date.
QString IsoDateTime(const QString& text);
// A LIKE pattern of the server (its text, without quotes) as a regular expression
// matching the whole text, blanks at its end ignored; `escape` is ESCAPE's character or null.
QString LikeRegex(const QString& pattern, QChar escape);

// The decimals of a number literal (2.560: 3), -1 for anything else.
int LiteralScale(const Seq& expr);
// Whether the expression is an integer: a literal, or a function that gives one (LEN, COUNT...).
bool IsIntegerValued(const Seq& expr);

// Emitted text trimmed of blanks at both ends, except the line end that closes
// a trailing "--" comment: text put after it must not fall into the comment.
QString Trimmed(const QString& text);

class Rewriter {
 public:
  // `inputSize`: the length of the statement, which bounds the length of its rewriting.
  Rewriter(Dialect d, qsizetype inputSize, HasSpanishCollation collation = {})
      : d_(d), maxText_(16 * inputSize + 65536), collation_(std::move(collation)) {}

  QString Seq_(const Seq& s) { return Emit(s); }

  // The type of the whole sequence when it is one expression, Unknown otherwise.
  ValueType ExprType(const Seq& s);
  bool IsTextExpr(const Seq& s) { return ExprType(s) == ValueType::Text; }

 private:
  struct Operand {
    bool valid = false;
    int firstSig = 0, lastSig = 0;  // positions in the sig array
    ValueType type = ValueType::Unknown;
  };
  // Operands joined by "+".
  struct Chain {
    int firstSig = 0, lastSig = 0;
    ValueType type = ValueType::Unknown;
    std::vector<int> concatNodes;  // node indices of the "+" signs that concatenate
  };

  bool IsIdentNode(const Node& n) const;
  ValueType CallType(const QString& name, const Node& group);
  Operand ParseOperand(const Seq& s, const std::vector<int>& sig, int p);
  std::vector<Chain> Chains(const Seq& s, const std::vector<int>& sig);

  // Types of CAST, CONVERT and column definitions.
  QString MapType(const QString& typeText, bool forCast) const;

  // A function call's replacement, or a null string to leave it as written.
  // Throws NestingTooDeep when it grows past the bound.
  QString Call(const QString& name, const Node& group);
  QString CallText(const QString& name, const Node& group);
  QString CastTo(const Seq& expr, const QString& type);
  // The text CAST or CONVERT gives: cut to the type's length, padded for char(n).
  QString TextOfLength(const QString& value, const QString& type) const;
  // The decimals of a CAST or CONVERT to decimal(p,s) or money, -1 for anything else.
  int ScaleOf(const Seq& expr);
  QString Str(const QString& x, const QString& n, const QString& d) const;
  QString Bracket(const QString& text) const;

  static bool IsHintGroup(const Node& n);
  // Column types of ALTER TABLE ... ADD and CREATE TABLE (PostgreSQL only).
  void MarkDefinitionTypes(const Seq& s, const std::vector<int>& sig, std::vector<QString>& replace,
                           std::vector<bool>& removed);
  void MarkCreateTableColumns(const Seq& s, const std::vector<int>& sig, std::vector<QString>& groupText);
  // Whether nodes from..to of `s` name no column.
  bool ColumnFree(const Seq& s, int from, int to) const;
  // LIKE, comparisons of text and of text with numbers (TextComparison.cpp).
  void MarkTextComparisons(const Seq& s, const std::vector<int>& sig, const std::vector<Chain>& chains,
                           std::vector<QString>& before, std::vector<QString>& after,
                           std::vector<QString>& replace, std::vector<bool>& removed);
  // DISTINCT and set operators over text no column made (SetItems.cpp).
  void MarkSetItems(const Seq& s, const std::vector<int>& sig, const std::vector<Chain>& chains,
                    std::vector<QString>& after);
  QString Emit(const Seq& s);

  Dialect d_;
  qsizetype maxText_;
  HasSpanishCollation collation_;
};

}  // namespace ado::sql
