// A driver manager whose answers each test scripts, reached through the ODBC call
// table. It reaches what no real driver does on demand: statements that keep running,
// result loops that never end, messages of every shape.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Database/OdbcApi.h"

struct FakeStep {
  SQLRETURN result;
  std::vector<std::string> messages;  // the diagnostic records the call posts
};

class FakeOdbc {
 public:
  FakeOdbc();
  ~FakeOdbc();

  OdbcApi api{};

  // Answers of the connection steps.
  SQLRETURN allocEnv = SQL_SUCCESS, setEnv = SQL_SUCCESS, allocDbc = SQL_SUCCESS, connect = SQL_SUCCESS,
            asyncEnable = SQL_SUCCESS, allocStmt = SQL_SUCCESS;
  // SQLExecDirect answers SQL_STILL_EXECUTING this long after its first call (by the
  // clock `now`), then takes its answers from execSteps (SQL_SUCCESS when they are used up).
  std::chrono::milliseconds runningFor{0};
  std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;
  std::deque<FakeStep> execSteps;
  // Answers of SQLMoreResults; afterMore once they are used up.
  std::deque<FakeStep> moreSteps;
  FakeStep afterMore{SQL_NO_DATA, {}};
  // After SQLCancel the next call of the statement reports the cancel, unless the
  // driver ignores it.
  bool ignoresCancel = false;
  // Diagnostics: the answer of the record count, records that cannot be read (their
  // answer by record number), a length reported instead of the message's own, and the
  // records of the connection.
  SQLRETURN diagCount = SQL_SUCCESS;
  std::map<SQLSMALLINT, SQLRETURN> unreadableRecords;
  SQLSMALLINT reportedLength = -1;
  std::vector<std::string> connectionMessages;
  std::vector<std::string> environmentMessages;

  // What happened: one entry per call (diagnostic reads left out), and the arguments
  // of every execution call.
  std::vector<std::string> calls;
  struct Execution {
    SQLHSTMT statement;
    std::string text;
    SQLINTEGER length;
  };
  std::vector<Execution> executions;
  std::string connectionString;
  unsigned moreCalls = 0;
  bool HandlesLeft() const { return !live_.empty(); }

 private:
  friend struct FakeOdbcCalls;  // the functions of the call table
  static FakeOdbc* current_;

  bool Live(SQLHANDLE handle, const char* call);
  const std::vector<std::string>* Records(SQLSMALLINT type, SQLHANDLE handle);
  SQLRETURN Post(const FakeStep& step);
  // Records an attribute call and gives its answer.
  SQLRETURN Attribute(const char* call, SQLHANDLE handle, SQLINTEGER attribute, SQLPOINTER value,
                      SQLINTEGER length, SQLRETURN answer);

  char env_ = 0, dbc_ = 0, stmt_ = 0;
  std::set<SQLHANDLE> live_;
  std::vector<std::string> posted_;
  bool firstExecution_ = true;
  bool cancelled_ = false;
  std::chrono::steady_clock::time_point executionStarted_;
};
