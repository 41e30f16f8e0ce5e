// The installer's connection to the database server: connect, send one batch at a
// time and read the server's messages, close.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "Core/FileNames.h"
#include "Database/OdbcApi.h"

// What the connection needs from the window it runs in.
class DatabaseHost {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~DatabaseHost() = default;
  // The time by which running statements are polled and a cancel is waited for.
  virtual Clock::time_point Now() const { return Clock::now(); }
  // Appends one line of server output to the window's live output (Memo1).
  virtual void AddOutputLine(const std::string& line) = 0;
  // Processes the pending window messages, first waiting up to timeoutMs for one to
  // arrive, so that polling a running statement costs no CPU.
  virtual void ProcessMessages(unsigned timeoutMs) = 0;
  // True once the user has confirmed that the run is to be cancelled.
  virtual bool CancelRequested() const = 0;
  // The output line written when a batch gave more results than are read (`limit`).
  virtual std::string ResultLimitText(unsigned limit) const = 0;
};

// One diagnostic record of the driver or the driver manager.
struct DiagnosticRecord {
  std::string state;  // the SQLSTATE
  SQLINTEGER nativeError = 0;
  std::string message;  // without the server driver's prefix
};

// The text with each stretch that some occurrence of `password` covers shown as "***".
// Occurrences are looked for at whole characters of the code page only; an empty
// password hides nothing.
std::string HidePassword(const std::string& text, const std::string& password, LeadByteTest isLead);

class Database {
 public:
  // isLead: the lead bytes of the code page that server, login and password are in.
  Database(const OdbcApi& api, DatabaseHost& host, LeadByteTest isLead = IsAnsiLeadByte);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Allocates the handles and connects without ever letting the driver prompt.
  // Returns the result code of the last step performed (negative on failure).
  SQLRETURN ConnectDatabase(const std::string& server, const std::string& login,
                            const std::string& password);
  // Why the last ConnectDatabase failed: the records of the connection handle, or of the
  // environment handle when there was no connection handle yet, the password hidden.
  const std::vector<DiagnosticRecord>& ConnectionDiagnostics() const { return FConnectionDiagnostics; }
  // Sends one batch and copies the server's messages to the host's output. Returns
  // the result code of the execution call.
  SQLRETURN ExecuteBatch(const std::string& batch);
  // Disconnects and frees the handles; harmless when not connected.
  void CloseDatabase();

  // "DRIVER={SQL Server};SERVER=...;UID=...;PWD=...;" with each value quoted where
  // ODBC requires it, judged by characters of the code page.
  static std::string ConnectionString(const std::string& server, const std::string& login,
                                      const std::string& password, LeadByteTest isLead);

 private:
  SQLRETURN Connect(const std::string& server, const std::string& login, const std::string& password);
  void ReadDiagnostics();

  const OdbcApi& FApi;
  DatabaseHost& FHost;
  LeadByteTest FIsLead;
  SQLHENV EnvHandle = SQL_NULL_HENV;
  SQLHDBC ConnHandle = SQL_NULL_HDBC;
  SQLHSTMT StmtHandle = SQL_NULL_HSTMT;
  bool FAsynchronous = false;
  std::vector<DiagnosticRecord> FConnectionDiagnostics;
  // The text of the batch being sent, a writable copy for the driver; its memory
  // serves one batch after another.
  std::string FStatementText;
};
