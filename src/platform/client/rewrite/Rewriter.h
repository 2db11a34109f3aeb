#pragma once
// The engine rewriter's inside, shared by its parts: the expression reading
// (SqlExpression.cpp), types (EngineTypes.cpp), function calls
// (EngineFunctions.cpp) and the statement rules (EngineRewrite.cpp).
#include <QString>
#include <vector>

#include "platform/client/Dialect.h"
#include "platform/client/rewrite/SqlTree.h"

namespace ado::sql {

const QSet<QString>& TextFunctions();
bool IsTextType(const QString& typeText);

class Rewriter {
 public:
  explicit Rewriter(Dialect d) : d_(d) {}

  QString Seq_(const Seq& s) { return Emit(s); }

  // Whether the whole sequence is one expression whose value is text.
  bool IsTextExpr(const Seq& s);

 private:
  struct Operand {
    bool valid = false;
    int firstSig = 0, lastSig = 0;  // positions in the sig array
    bool text = false;
  };
  struct Chain {
    int firstSig = 0, lastSig = 0;
    bool text = false;
    std::vector<int> plusNodes;  // node indices of the binary "+" signs
  };

  bool IsIdentNode(const Node& n) const;
  bool CallIsText(const QString& name, const Node& group);
  Operand ParseOperand(const Seq& s, const std::vector<int>& sig, int p);
  std::vector<Chain> Chains(const Seq& s, const std::vector<int>& sig);

  // Types of CAST, CONVERT and column definitions.
  QString MapType(const QString& typeText, bool forCast) const;
  // A CONVERT style as a format for strftime (SQLite) or TO_CHAR (PostgreSQL).
  QString StyleFormat(int style) const;

  // A function call's replacement, or a null string to leave it as written.
  QString Call(const QString& name, const Node& group);
  QString Bracket(const QString& text) const;

  static bool IsHintGroup(const Node& n);
  // Column types of ALTER TABLE ... ADD and CREATE TABLE (PostgreSQL only).
  void MarkDefinitionTypes(const Seq& s, const std::vector<int>& sig, std::vector<QString>& replace,
                           std::vector<bool>& removed);
  void MarkCreateTableColumns(const Seq& s, const std::vector<int>& sig, std::vector<QString>& groupText);
  QString Emit(const Seq& s);

  Dialect d_;
};

}  // namespace ado::sql
