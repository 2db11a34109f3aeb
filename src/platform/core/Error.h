#pragma once
// The error record that a failure carries into a caller's trap, and the
// exception type that carries it.
#include <QString>
#include <stdexcept>

namespace ado {

// The failures the traps treat apart from the rest.
enum class FailureKind {
  Ordinary,
  ConnectionLost,   // the connection broke; it reopens itself on its next use
  TransactionLost,  // it broke inside a transaction: only that transaction's owner can end it
};

struct ErrorInfo {
  long Number = 0;  // 0 = no error
  QString Description;
  QString Source;
  FailureKind Kind = FailureKind::Ordinary;
};

class Failure : public std::runtime_error {
 public:
  explicit Failure(ErrorInfo info)
      : std::runtime_error(info.Description.toStdString()), info_(std::move(info)) {}
  Failure(long number, const QString& description, const QString& source = QStringLiteral("MA_Empresas"))
      : Failure(ErrorInfo{number, description, source}) {}
  const ErrorInfo& Info() const { return info_; }
  long Number() const { return info_.Number; }
  FailureKind Kind() const { return info_.Kind; }

 private:
  ErrorInfo info_;
};

// Numbers the program tests for.
namespace err {
constexpr long InvalidCall = 5;         // invalid procedure call or argument
constexpr long NoCurrentRecord = 3021;  // BOF or EOF
constexpr long ItemNotFound = 3265;     // no field of that name
constexpr long WrongType = 3421;        // value of the wrong type for the field
constexpr long ObjectClosed = 3704;     // operation not allowed on a closed object
constexpr long ReadOnly = 3251;         // operation not supported (read-only recordset)
constexpr long Unspecified = static_cast<long>(0x80004005);
constexpr long IntegrityViolation = static_cast<long>(0x80040E2F);
constexpr long TableMissing = static_cast<long>(0x80040E37);
constexpr long CommandText = static_cast<long>(0x80040E14);
constexpr long RowChanged = static_cast<long>(0x80040E38);  // optimistic conflict
}  // namespace err

// SQL Server native numbers that the client maps other engines' errors to.
namespace native {
constexpr long DuplicateKey = 2627;
constexpr long NullNotAllowed = 515;
constexpr long Truncation = 8152;
constexpr long MissingTable = 208;
constexpr long Syntax = 102;
}  // namespace native

}  // namespace ado
