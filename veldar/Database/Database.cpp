// The installer's connection to the database server through ODBC: one connection per
// run, one statement per batch, the server's messages copied line by line into the
// window's output.
#include "Database/Database.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>

namespace {

// Statements that run longer than five hours are stopped by the driver.
constexpr SQLULEN kQueryTimeoutSeconds = 18000;
// Size of the state and message buffers of one diagnostic record.
constexpr SQLSMALLINT kMessageBufferSize = 1024;
// The server's driver puts this in front of every message the server sends.
constexpr char kDriverPrefix[] = "[Microsoft][ODBC SQL Server Driver][SQL Server]";
constexpr std::string::size_type kDriverPrefixLength = sizeof kDriverPrefix - 1;
// A driver that answers every SQLMoreResults with one more result (or one more error)
// would keep the result loop going for ever; real batches stay far below this.
constexpr unsigned kMaxResults = 50000;

using Clock = DatabaseHost::Clock;
// How long a cancelled statement may take to end before it is freed anyway.
constexpr std::chrono::seconds kCancelWait{5};

// How long to wait for window messages before asking a running statement again. A
// statement that has just started is asked again at once, because on Windows even a
// 1 ms wait lasts a whole timer tick, which would dominate a script of many short
// batches. Once it has run for a while the waits grow with its running time, up to
// 50 ms: at most a quarter more waiting than running, and next to no CPU for a long one.
unsigned PollWaitMs(Clock::time_point runningSince, Clock::time_point now) {
  const auto runningMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - runningSince).count();
  if (runningMs < 10) return 0;
  return static_cast<unsigned>(std::min<long long>(50, runningMs / 4));
}

// Values that would end the attribute early or lose their outer blanks need braces.
// The text is read by characters: the second byte of a double-byte character may
// equal ";" or a brace, and the driver reads it as part of its character.
bool NeedsBraces(const std::string& value, LeadByteTest isLead) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (value.empty()) return false;
  if (blank(value.front())) return true;
  bool blankAtEnd = false;
  for (size_t i = 0, next; i < value.size(); i = next) {
    next = NextCharAt(value, i, isLead);
    const bool single = next - i == 1;
    if (single && (value[i] == ';' || value[i] == '{' || value[i] == '}')) return true;
    blankAtEnd = single && blank(value[i]);
  }
  return blankAtEnd;
}

// A connection string value as ODBC reads it: in braces where needed, with each closing
// brace (a character of its own, not a second byte) doubled.
std::string QuoteValue(const std::string& value, LeadByteTest isLead) {
  if (!NeedsBraces(value, isLead)) return value;
  std::string quoted = "{";
  for (size_t i = 0, next; i < value.size(); i = next) {
    next = NextCharAt(value, i, isLead);
    quoted.append(value, i, next - i);
    if (next - i == 1 && value[i] == '}') quoted += '}';
  }
  quoted += '}';
  return quoted;
}

// The output and the log files consist of lines, and some drivers put line breaks into
// their messages: each line of a message becomes a line of output.
void AddMessageLines(DatabaseHost& host, const std::string& message) {
  std::string::size_type start = 0;
  for (;;) {
    const auto end = message.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      host.AddOutputLine(message.substr(start));
      return;
    }
    host.AddOutputLine(message.substr(start, end - start));
    start = end + (message.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (start == message.size()) return;
  }
}

// The diagnostic records of one handle that can be read.
std::vector<DiagnosticRecord> ReadDiagnosticRecords(const OdbcApi& api, SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<DiagnosticRecord> records;
  SQLINTEGER count = 0;
  if (!SQL_SUCCEEDED(api.GetDiagField(type, handle, 0, SQL_DIAG_NUMBER, &count, SQL_IS_INTEGER, nullptr)))
    return records;
  // Record numbers are small integers; a count beyond them cannot be asked for.
  count = std::min<SQLINTEGER>(count, SHRT_MAX);
  for (SQLINTEGER record = 1; record <= count; ++record) {
    SQLCHAR state[kMessageBufferSize] = {};
    SQLINTEGER nativeError = 0;
    SQLCHAR message[kMessageBufferSize] = {};
    SQLSMALLINT length = -1;
    const SQLRETURN rc = api.GetDiagRec(type, handle, static_cast<SQLSMALLINT>(record), state, &nativeError,
                                        message, kMessageBufferSize, &length);
    // SQL_NO_DATA: the record has gone; an error leaves the buffer without a message.
    if (!SQL_SUCCEEDED(rc)) continue;
    // The reported length is that of the whole message, which may exceed the buffer.
    const char* text = reinterpret_cast<const char*>(message);
    std::string::size_type size = std::find(text, text + kMessageBufferSize, '\0') - text;
    if (length >= 0) size = std::min<std::string::size_type>(size, length);
    std::string line(text, size);
    if (line.compare(0, kDriverPrefixLength, kDriverPrefix) == 0) line.erase(0, kDriverPrefixLength);
    state[kMessageBufferSize - 1] = 0;
    records.push_back({reinterpret_cast<const char*>(state), nativeError, std::move(line)});
  }
  return records;
}

// Copies the diagnostic messages of one handle to the output.
void ShowDiagnosticRecords(const OdbcApi& api, DatabaseHost& host, SQLSMALLINT type, SQLHANDLE handle) {
  for (const DiagnosticRecord& record : ReadDiagnosticRecords(api, type, handle))
    AddMessageLines(host, record.message);
}

// True when the text has `part` at `at` and a character of the code page ends with it.
bool HasAtCharacters(const std::string& text, size_t at, const std::string& part, LeadByteTest isLead) {
  if (text.compare(at, part.size(), part) != 0) return false;
  size_t end = at;
  while (end < at + part.size()) end = NextCharAt(text, end, isLead);
  return end == at + part.size();
}

}  // namespace

std::string HidePassword(const std::string& text, const std::string& password, LeadByteTest isLead) {
  if (password.empty()) return text;
  std::string shown;
  size_t hiddenUntil = 0;  // the end of the occurrences found so far, which may overlap
  bool hiding = false;     // the character before was hidden
  for (size_t i = 0, next; i < text.size(); i = next) {
    next = NextCharAt(text, i, isLead);
    if (HasAtCharacters(text, i, password, isLead)) hiddenUntil = std::max(hiddenUntil, i + password.size());
    const bool hidden = i < hiddenUntil;
    if (!hidden)
      shown.append(text, i, next - i);
    else if (!hiding)
      shown += "***";
    hiding = hidden;
  }
  return shown;
}

Database::Database(const OdbcApi& api, DatabaseHost& host, LeadByteTest isLead)
    : FApi(api), FHost(host), FIsLead(isLead) {}

Database::~Database() {
  CloseDatabase();
}

std::string Database::ConnectionString(const std::string& server, const std::string& login,
                                       const std::string& password, LeadByteTest isLead) {
  return "DRIVER={SQL Server};SERVER=" + QuoteValue(server, isLead) + ";UID=" + QuoteValue(login, isLead) +
         ";PWD=" + QuoteValue(password, isLead) + ";";
}

SQLRETURN Database::ConnectDatabase(const std::string& server, const std::string& login,
                                    const std::string& password) {
  const SQLRETURN rc = Connect(server, login, password);
  FConnectionDiagnostics.clear();
  if (rc >= 0) return rc;
  // The driver manager posts its own and the driver's records on the connection handle;
  // what fails before there is one is posted on the environment handle.
  if (ConnHandle != SQL_NULL_HDBC)
    FConnectionDiagnostics = ReadDiagnosticRecords(FApi, SQL_HANDLE_DBC, ConnHandle);
  else if (EnvHandle != SQL_NULL_HENV)
    FConnectionDiagnostics = ReadDiagnosticRecords(FApi, SQL_HANDLE_ENV, EnvHandle);
  // Some drivers repeat the connection string, or a login that is the password.
  for (DiagnosticRecord& record : FConnectionDiagnostics)
    record.message = HidePassword(record.message, password, FIsLead);
  return rc;
}

SQLRETURN Database::Connect(const std::string& server, const std::string& login,
                            const std::string& password) {
  CloseDatabase();
  if (FApi.AllocHandle == nullptr) return SQL_ERROR;  // no driver manager

  SQLRETURN rc = FApi.AllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &EnvHandle);
  if (rc < 0) return rc;
  rc = FApi.SetEnvAttr(EnvHandle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                       SQL_IS_INTEGER);
  if (rc < 0) return rc;
  rc = FApi.AllocHandle(SQL_HANDLE_DBC, EnvHandle, &ConnHandle);
  if (rc < 0) return rc;

  // The driver must never ask the user for what is missing; the completed string it
  // hands back holds the password and is not used.
  std::string text = ConnectionString(server, login, password, FIsLead);
  SQLCHAR completed[1024];
  SQLSMALLINT completedLength = 0;
  rc = FApi.DriverConnect(ConnHandle, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS, completed,
                          sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT);
  if (rc < 0) return rc;

  // Asynchronous execution keeps the window served while a batch runs. A driver that
  // cannot do it still runs every batch, synchronously.
  const SQLRETURN async = FApi.SetConnectAttr(ConnHandle, SQL_ATTR_ASYNC_ENABLE,
                                              reinterpret_cast<SQLPOINTER>(SQL_ASYNC_ENABLE_ON), 0);
  FAsynchronous = async >= 0;
  return FAsynchronous ? async : rc;
}

SQLRETURN Database::ExecuteBatch(const std::string& batch) {
  if (ConnHandle == SQL_NULL_HDBC) return SQL_INVALID_HANDLE;
  SQLRETURN result = FApi.AllocHandle(SQL_HANDLE_STMT, ConnHandle, &StmtHandle);
  if (result < 0) {
    // Without a statement (the connection is gone) nothing can be sent; the
    // connection's messages say why.
    StmtHandle = SQL_NULL_HSTMT;
    ShowDiagnosticRecords(FApi, FHost, SQL_HANDLE_DBC, ConnHandle);
    return result;
  }
  FApi.SetStmtAttr(StmtHandle, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(kQueryTimeoutSeconds), 0);

  // While the statement runs asynchronously every repeated call with the same
  // arguments asks whether it has finished.
  FStatementText.assign(batch);
  SQLCHAR* const statement = reinterpret_cast<SQLCHAR*>(&FStatementText[0]);
  bool cancelled = false;
  const Clock::time_point started = FHost.Now();
  for (;;) {
    result = FApi.ExecDirect(StmtHandle, statement, SQL_NTS);
    const bool running = result == SQL_STILL_EXECUTING;
    FHost.ProcessMessages(running ? PollWaitMs(started, FHost.Now()) : 0);
    if (FHost.CancelRequested()) {
      cancelled = true;
      break;
    }
    if (!running) break;
  }

  // The messages of the execution and of every further result, up to the last one;
  // rows are never fetched. more holds the answer of the last call, whichever it was.
  SQLRETURN more = result;
  Clock::time_point runningSince = started;
  unsigned results = 0;
  while (!cancelled) {
    ReadDiagnostics();
    FHost.ProcessMessages(more == SQL_STILL_EXECUTING ? PollWaitMs(runningSince, FHost.Now()) : 0);
    if (FHost.CancelRequested()) {
      cancelled = true;
      break;
    }
    if (results == kMaxResults) {
      FHost.AddOutputLine(FHost.ResultLimitText(kMaxResults));
      break;
    }
    const SQLRETURN previous = more;
    more = FApi.MoreResults(StmtHandle);
    if (more == SQL_NO_DATA) break;
    if (more != SQL_STILL_EXECUTING)
      ++results;
    else if (previous != SQL_STILL_EXECUTING)
      runningSince = FHost.Now();
  }

  if (cancelled) {
    FApi.Cancel(StmtHandle);
    // A call that is still running learns of the cancel only when it is made again,
    // and the statement cannot be freed before it has ended. A driver that does not
    // end it soon is left to end it when the connection closes.
    const bool executing = result == SQL_STILL_EXECUTING;
    const Clock::time_point cancelledAt = FHost.Now();
    while (more == SQL_STILL_EXECUTING && FHost.Now() - cancelledAt < kCancelWait) {
      FHost.ProcessMessages(PollWaitMs(cancelledAt, FHost.Now()));
      more = executing ? FApi.ExecDirect(StmtHandle, statement, SQL_NTS) : FApi.MoreResults(StmtHandle);
    }
  }
  FApi.FreeHandle(SQL_HANDLE_STMT, StmtHandle);
  StmtHandle = SQL_NULL_HSTMT;
  // A batch stopped by a cancel request may have done only part of its work: it must
  // not be taken for one that succeeded.
  if (cancelled && result >= 0) result = SQL_ERROR;
  return result;
}

void Database::ReadDiagnostics() {
  ShowDiagnosticRecords(FApi, FHost, SQL_HANDLE_STMT, StmtHandle);
}

void Database::CloseDatabase() {
  if (ConnHandle != SQL_NULL_HDBC) {
    FApi.Disconnect(ConnHandle);
    FApi.FreeHandle(SQL_HANDLE_DBC, ConnHandle);
    ConnHandle = SQL_NULL_HDBC;
  }
  if (EnvHandle != SQL_NULL_HENV) {
    FApi.FreeHandle(SQL_HANDLE_ENV, EnvHandle);
    EnvHandle = SQL_NULL_HENV;
  }
  FAsynchronous = false;
}
