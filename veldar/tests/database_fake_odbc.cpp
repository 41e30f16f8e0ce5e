#include "database_fake_odbc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

FakeOdbc* FakeOdbc::current_ = nullptr;
const char* const kHandleNames[] = {"", "ENV", "DBC", "STMT"};

FakeOdbc::~FakeOdbc() {
  current_ = nullptr;
}

bool FakeOdbc::Live(SQLHANDLE handle, const char* call) {
  if (live_.count(handle)) return true;
  calls.push_back(std::string(call) + " on a handle that is not allocated");
  return false;
}

SQLRETURN FakeOdbc::Attribute(const char* call, SQLHANDLE handle, SQLINTEGER attribute, SQLPOINTER value,
                              SQLINTEGER length, SQLRETURN answer) {
  calls.push_back(std::string(call) + " " + std::to_string(attribute) + " " +
                  std::to_string(reinterpret_cast<SQLULEN>(value)) + " " + std::to_string(length));
  return Live(handle, call) ? answer : SQL_INVALID_HANDLE;
}

SQLRETURN FakeOdbc::Post(const FakeStep& step) {
  posted_ = step.messages;
  return step.result;
}

const std::vector<std::string>* FakeOdbc::Records(SQLSMALLINT type, SQLHANDLE handle) {
  if (type == SQL_HANDLE_STMT && handle == &stmt_ && live_.count(handle)) return &posted_;
  if (type == SQL_HANDLE_DBC && handle == &dbc_ && live_.count(handle)) return &connectionMessages;
  if (type == SQL_HANDLE_ENV && handle == &env_ && live_.count(handle)) return &environmentMessages;
  return nullptr;
}

// The call table's functions act on the fake that was made last.
struct FakeOdbcCalls {
  static SQLRETURN SQL_API AllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
    FakeOdbc& f = *FakeOdbc::current_;
    f.calls.push_back(std::string("AllocHandle ") + kHandleNames[type]);
    SQLRETURN result = type == SQL_HANDLE_ENV   ? f.allocEnv
                       : type == SQL_HANDLE_DBC ? f.allocDbc
                                                : f.allocStmt;
    if (type != SQL_HANDLE_ENV && !f.Live(input, "AllocHandle")) result = SQL_INVALID_HANDLE;
    *output = SQL_NULL_HANDLE;
    if (result < 0) return result;
    *output = type == SQL_HANDLE_ENV ? &f.env_ : type == SQL_HANDLE_DBC ? &f.dbc_ : &f.stmt_;
    f.live_.insert(*output);
    return result;
  }

  static SQLRETURN SQL_API SetEnvAttr(SQLHENV env, SQLINTEGER attribute, SQLPOINTER value,
                                      SQLINTEGER length) {
    FakeOdbc& f = *FakeOdbc::current_;
    return f.Attribute("SetEnvAttr", env, attribute, value, length, f.setEnv);
  }

  static SQLRETURN SQL_API DriverConnect(SQLHDBC dbc, SQLHWND window, SQLCHAR* in, SQLSMALLINT inLength,
                                         SQLCHAR* out, SQLSMALLINT outMax, SQLSMALLINT* outLength,
                                         SQLUSMALLINT completion) {
    FakeOdbc& f = *FakeOdbc::current_;
    f.connectionString = reinterpret_cast<const char*>(in);
    f.calls.push_back(std::string("DriverConnect") + (window ? " window" : "") + " in " +
                      std::to_string(inLength) + " out " + std::to_string(outMax) + " completion " +
                      std::to_string(completion));
    if (out && outMax > 0) *out = 0;
    if (outLength) *outLength = 0;
    return f.Live(dbc, "DriverConnect") ? f.connect : SQL_INVALID_HANDLE;
  }

  static SQLRETURN SQL_API SetConnectAttr(SQLHDBC dbc, SQLINTEGER attribute, SQLPOINTER value,
                                          SQLINTEGER length) {
    FakeOdbc& f = *FakeOdbc::current_;
    return f.Attribute("SetConnectAttr", dbc, attribute, value, length, f.asyncEnable);
  }

  static SQLRETURN SQL_API SetStmtAttr(SQLHSTMT stmt, SQLINTEGER attribute, SQLPOINTER value,
                                       SQLINTEGER length) {
    FakeOdbc& f = *FakeOdbc::current_;
    return f.Attribute("SetStmtAttr", stmt, attribute, value, length, SQL_SUCCESS);
  }

  static SQLRETURN SQL_API ExecDirect(SQLHSTMT stmt, SQLCHAR* text, SQLINTEGER length) {
    FakeOdbc& f = *FakeOdbc::current_;
    // Polls of a running statement are counted in executions only.
    if (f.calls.empty() || f.calls.back() != "ExecDirect") f.calls.push_back("ExecDirect");
    f.executions.push_back({stmt, reinterpret_cast<const char*>(text), length});
    if (!f.Live(stmt, "ExecDirect")) return SQL_INVALID_HANDLE;
    const auto now = f.now();
    if (f.cancelled_) return f.Post({SQL_ERROR, {"Operation canceled"}});
    if (f.firstExecution_) f.executionStarted_ = now;
    f.firstExecution_ = false;
    if (now - f.executionStarted_ < f.runningFor) return f.Post({SQL_STILL_EXECUTING, {}});
    if (f.execSteps.empty()) return f.Post({SQL_SUCCESS, {}});
    FakeStep step = f.execSteps.front();
    f.execSteps.pop_front();
    return f.Post(step);
  }

  static SQLRETURN SQL_API MoreResults(SQLHSTMT stmt) {
    FakeOdbc& f = *FakeOdbc::current_;
    ++f.moreCalls;
    if (f.calls.back() != "MoreResults") f.calls.push_back("MoreResults");
    if (!f.Live(stmt, "MoreResults")) return SQL_INVALID_HANDLE;
    if (f.cancelled_) return f.Post({SQL_ERROR, {"Operation canceled"}});
    if (f.moreSteps.empty()) return f.Post(f.afterMore);
    FakeStep step = f.moreSteps.front();
    f.moreSteps.pop_front();
    return f.Post(step);
  }

  static SQLRETURN SQL_API Cancel(SQLHSTMT stmt) {
    FakeOdbc& f = *FakeOdbc::current_;
    f.calls.push_back("Cancel");
    f.cancelled_ = !f.ignoresCancel;
    return f.Live(stmt, "Cancel") ? SQL_SUCCESS : SQL_INVALID_HANDLE;
  }

  static SQLRETURN SQL_API GetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record,
                                        SQLSMALLINT field, SQLPOINTER info, SQLSMALLINT infoMax,
                                        SQLSMALLINT*) {
    FakeOdbc& f = *FakeOdbc::current_;
    const std::vector<std::string>* records = f.Records(type, handle);
    if (!records) return SQL_INVALID_HANDLE;
    EXPECT_EQ(0, record);
    EXPECT_EQ(SQL_DIAG_NUMBER, field);
    EXPECT_EQ(SQL_IS_INTEGER, infoMax);
    if (f.diagCount != SQL_SUCCESS) return f.diagCount;
    *static_cast<SQLINTEGER*>(info) = static_cast<SQLINTEGER>(records->size());
    return SQL_SUCCESS;
  }

  static SQLRETURN SQL_API GetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR* state,
                                      SQLINTEGER* nativeError, SQLCHAR* message, SQLSMALLINT messageMax,
                                      SQLSMALLINT* messageLength) {
    FakeOdbc& f = *FakeOdbc::current_;
    const std::vector<std::string>* records = f.Records(type, handle);
    if (!records) return SQL_INVALID_HANDLE;
    EXPECT_EQ(1024, messageMax);
    if (record < 1 || record > static_cast<SQLSMALLINT>(records->size())) return SQL_NO_DATA;
    if (f.unreadableRecords.count(record)) return f.unreadableRecords[record];
    std::strcpy(reinterpret_cast<char*>(state), "42000");
    *nativeError = 50000;
    // Like a driver: as much of the text as fits with its closing zero, and the length
    // of the whole text.
    const std::string& text = (*records)[record - 1];
    const std::size_t copied = std::min<std::size_t>(text.size(), messageMax - 1);
    std::memcpy(message, text.data(), copied);
    message[copied] = 0;
    *messageLength = f.reportedLength >= 0 ? f.reportedLength : static_cast<SQLSMALLINT>(text.size());
    return copied < text.size() ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  }

  static SQLRETURN SQL_API Disconnect(SQLHDBC dbc) {
    FakeOdbc& f = *FakeOdbc::current_;
    f.calls.push_back("Disconnect");
    return f.Live(dbc, "Disconnect") ? SQL_SUCCESS : SQL_INVALID_HANDLE;
  }

  static SQLRETURN SQL_API FreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
    FakeOdbc& f = *FakeOdbc::current_;
    f.calls.push_back(std::string("FreeHandle ") + kHandleNames[type]);
    if (!f.Live(handle, "FreeHandle")) return SQL_INVALID_HANDLE;
    f.live_.erase(handle);
    if (type == SQL_HANDLE_STMT) f.firstExecution_ = true, f.cancelled_ = false;
    return SQL_SUCCESS;
  }
};

FakeOdbc::FakeOdbc() {
  current_ = this;
#define FAKE(name) api.name = &FakeOdbcCalls::name;
  ODBC_API_CALLS(FAKE)
#undef FAKE
}
