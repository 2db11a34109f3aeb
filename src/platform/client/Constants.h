#pragma once
// Numeric settings of the connection / recordset model, as the program passes them.

namespace ado {

constexpr int adStateClosed = 0;
constexpr int adStateOpen = 1;

constexpr int adUseServer = 2;
constexpr int adUseClient = 3;

constexpr int adOpenUnspecified = -1;
constexpr int adOpenForwardOnly = 0;
constexpr int adOpenKeyset = 1;
constexpr int adOpenDynamic = 2;
constexpr int adOpenStatic = 3;

constexpr int adLockUnspecified = -1;
constexpr int adLockReadOnly = 1;
constexpr int adLockPessimistic = 2;
constexpr int adLockOptimistic = 3;
constexpr int adLockBatchOptimistic = 4;

constexpr int adOptionUnspecified = -1;

constexpr int adXactReadUncommitted = 256;
constexpr int adXactReadCommitted = 4096;
constexpr int adXactRepeatableRead = 65536;
constexpr int adXactSerializable = 1048576;

constexpr int adSchemaColumns = 4;
constexpr int adSchemaTables = 20;

constexpr int adEditNone = 0;
constexpr int adEditInProgress = 1;
constexpr int adEditAdd = 2;

// Field data types.
constexpr int adEmpty = 0;
constexpr int adSmallInt = 2;
constexpr int adInteger = 3;
constexpr int adSingle = 4;
constexpr int adDouble = 5;
constexpr int adCurrency = 6;
constexpr int adDate = 7;
constexpr int adBSTR = 8;
constexpr int adBoolean = 11;
constexpr int adVariant = 12;
constexpr int adDecimal = 14;
constexpr int adTinyInt = 16;
constexpr int adUnsignedTinyInt = 17;
constexpr int adUnsignedSmallInt = 18;
constexpr int adUnsignedInt = 19;
constexpr int adBigInt = 20;
constexpr int adUnsignedBigInt = 21;
constexpr int adGUID = 72;
constexpr int adBinary = 128;
constexpr int adChar = 129;
constexpr int adWChar = 130;
constexpr int adNumeric = 131;
constexpr int adDBDate = 133;
constexpr int adDBTime = 134;
constexpr int adDBTimeStamp = 135;
constexpr int adVarChar = 200;
constexpr int adLongVarChar = 201;
constexpr int adVarWChar = 202;
constexpr int adLongVarWChar = 203;
constexpr int adVarBinary = 204;
constexpr int adLongVarBinary = 205;

}  // namespace ado
