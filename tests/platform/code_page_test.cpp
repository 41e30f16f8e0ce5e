// The programs keep their Chinese texts in UTF-8 resource scripts and read them back
// through the ANSI functions. Under the code page 936 those must arrive as GBK bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kInstallCaptionGbk =
    "\xca\xfd\xbe\xdd\xbf\xe2\xb7\xfe\xce\xf1\xc6\xf7\xb0\xb2\xd7\xb0";  // 数据库服务器安装
const std::string kTestGbk = "\xd6\xd0\xce\xc4\xb2\xe2\xca\xd4";           // 中文测试

TEST(CodePage, AnsiCodePageIs936) { EXPECT_EQ(936u, GetACP()); }

TEST(CodePage, StringTableReadsBackAsGbk) {
  char buffer[256];
  memset(buffer, 0x55, sizeof buffer);
  int n = LoadStringA(GetModuleHandleA(nullptr), 100, buffer, sizeof buffer);
  ASSERT_EQ(static_cast<int>(kInstallCaptionGbk.size()), n);
  EXPECT_EQ(kInstallCaptionGbk, std::string(buffer, n));
  EXPECT_EQ('\0', buffer[n]);
}

INT_PTR CALLBACK ReadBackProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* texts = reinterpret_cast<std::string*>(lParam);
  char buffer[256] = {};
  GetWindowTextA(dialog, buffer, sizeof buffer);
  texts[0] = buffer;
  GetDlgItemTextA(dialog, 101, buffer, sizeof buffer);
  texts[1] = buffer;
  EndDialog(dialog, 1);
  return TRUE;
}

TEST(CodePage, DialogTextsReadBackAsGbk) {
  std::string texts[2];
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(200), nullptr,
                                   ReadBackProc, reinterpret_cast<LPARAM>(texts));
  ASSERT_EQ(1, result);
  EXPECT_EQ(kTestGbk, texts[0]);
  EXPECT_EQ(kTestGbk, texts[1]);
}

}  // namespace
