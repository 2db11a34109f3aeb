#pragma once
// A token tree: parenthesised groups become one node with children.
#include <QSet>
#include <QString>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/client/rewrite/SqlTokenizer.h"

namespace ado::sql {

struct Node {
  Token tok;  // for a group: "("
  bool group = false;
  bool closed = false;         // the group has its ")"
  std::vector<Node> children;  // for a group
};

using Seq = std::vector<Node>;

// Far more nested parentheses than any statement of the suite holds; reading a
// deeper one would cost time and stack without bound, so it is refused. The
// rewriter also refuses, with the same error, functions nested so that their
// rewriting grows far beyond the statement.
constexpr int kMaxNesting = 100;
struct NestingTooDeep : std::runtime_error {
  NestingTooDeep();
};

// Throws NestingTooDeep past kMaxNesting.
Seq Tree(const QString& sql);

// Neither blanks nor a comment.
bool Significant(const Node& n);
// The indices of the significant nodes.
std::vector<int> SigIndex(const Seq& s);
// The text of nodes as written.
QString PlainNode(const Node& n);
QString Plain(const Seq& s);
// The comma-separated arguments of a group, each a sequence.
std::vector<Seq> SplitArgs(const Seq& children);

const QSet<QString>& Keywords();

}  // namespace ado::sql
