#include "test_support.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdio>

namespace veldar_test {

std::string TestFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

namespace {

void DeleteTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else if (!DeleteFileA(path.c_str()) && found.cAlternateFileName[0] != '\0') {
        // A name that this code page cannot spell is reached by its short name.
        DeleteFileA((folder + "\\" + found.cAlternateFileName).c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string MakeScratchFolder(const std::string& name) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  const std::string folder = std::string(current) + "\\scratch-" + name;
  DeleteTree(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

std::string Ansi(const char* utf8) {
  const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &text[0], wide);
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], size, nullptr, nullptr);
  ansi.resize(static_cast<size_t>(size) - 1);
  return ansi;
}

bool WriteWholeFile(const std::string& name, const std::string& bytes) {
  FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string ReadWholeFile(const std::string& name) {
  FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return "<missing>";
  std::string bytes;
  char buffer[4096];
  size_t read;
  while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, read);
  std::fclose(file);
  return bytes;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

Process::~Process() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool Process::Start(const std::string& program, const std::string& arguments, const std::string& folder,
                    int show) {
  std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = show >= 0 ? STARTF_USESHOWWINDOW : 0;
  startup.wShowWindow = static_cast<WORD>(show >= 0 ? show : 0);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

int Process::Wait(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64];
  if (owner != search->processId || !IsWindowVisible(window) ||
      !GetClassNameA(window, className, sizeof className) || lstrcmpA(className, search->className) != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(20);
  }
}

std::string WindowTitle(HWND window) {
  char text[1024] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string ControlText(HWND control) {
  char text[1024] = "";
  SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string MessageBoxText(HWND box) {
  return WindowTitle(GetDlgItem(box, 0xFFFF));
}

void PressButton(HWND dialog, int buttonId) {
  PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

std::vector<std::string> QueryRunDatabase(const std::string& folder, const std::string& connection,
                                          const std::string& query) {
  std::vector<std::string> rows;
  // The run's file is named like its connection string; the copy gets a name that a
  // connection string can carry. Relative names start at this process's folder.
  char current[MAX_PATH];
  GetCurrentDirectoryA(sizeof current, current);
  std::string copy = folder + "inspect.sqlite";
  if (!CopyFileA((folder + connection).c_str(), copy.c_str(), FALSE)) {
    rows.push_back("<no database file>");
    return rows;
  }
  std::string relative = copy.substr(std::string(current).size() + 1);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), SQL_IS_INTEGER);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  std::string text = "DRIVER={SQL Server};Database=" + relative + ";";
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  if (SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(&text[0]), SQL_NTS, out,
                                     sizeof out, &outLength, SQL_DRIVER_NOPROMPT))) {
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    std::string sql = query;
    if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&sql[0]), SQL_NTS))) {
      SQLSMALLINT columns = 0;
      SQLNumResultCols(stmt, &columns);
      while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        std::string row;
        for (SQLSMALLINT c = 1; c <= columns; ++c) {
          char value[1024] = "";
          SQLLEN length = 0;
          SQLGetData(stmt, c, SQL_C_CHAR, value, sizeof value, &length);
          row += (c > 1 ? "|" : "") + std::string(length == SQL_NULL_DATA ? "NULL" : value);
        }
        rows.push_back(row);
      }
    } else {
      rows.push_back("<query failed>");
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
  } else {
    rows.push_back("<connect failed>");
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return rows;
}

}  // namespace veldar_test
