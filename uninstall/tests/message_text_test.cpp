// Message texts from the language file, the library and the own string table, in turn.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/ExtResource.h"
#include "language/MessageText.h"
#include "resources/resource.h"
#include "test_text.h"
#include "tests/language_support.h"

using namespace test_support;
using namespace uninstall_test;

namespace {

using MessageTextTest = LanguageStateTest;

TEST_F(MessageTextTest, OwnStringTableWithoutLibraryOrFile) {
  EXPECT_FALSE(extResource.loaded);
  EXPECT_EQ(Ansi("确实要卸载 Zendra 吗?"), GetMessageText(IDS_CONFIRM_UNINSTALL));
  EXPECT_EQ(Ansi("卸载 Zendra"), GetMessageText(IDS_UNINSTALL_CAPTION));
  EXPECT_EQ(Ansi("你应该手动删除 %s"), GetMessageText(IDS_DELETE_BY_HAND));
  EXPECT_EQ(std::string("https://www.zendra-archiver.example/"), GetMessageText(IDS_HOME_PAGE));
  EXPECT_STREQ("", GetMessageText(4999)) << "a number no source knows";
}

TEST_F(MessageTextTest, LibraryReplacesTheStringsItHas) {
  LoadLibraryBeside("plain");
  EXPECT_NE(ExtResource::ownModule, ExtResource::currentModule);
  EXPECT_EQ(Ansi("库：卸载 Zendra"), GetMessageText(IDS_UNINSTALL_CAPTION));
  EXPECT_EQ(Ansi("确实要卸载 Zendra 吗?"), GetMessageText(IDS_CONFIRM_UNINSTALL))
      << "not in the library: the program's own";
  extResource.Unload();
  EXPECT_FALSE(extResource.loaded);
  EXPECT_EQ(ExtResource::ownModule, ExtResource::currentModule);
  EXPECT_EQ(Ansi("卸载 Zendra"), GetMessageText(IDS_UNINSTALL_CAPTION));
}

TEST_F(MessageTextTest, LanguageFileComesFirstAndKeysAreMadeFromTheOwnTexts) {
  LoadLibraryBeside("plain");
  LoadLanguageFile(Entry("s" + Ansi("确实要卸载 Zendra 吗?"), "bad key: the prefix is part of the key") +
                   Entry(Ansi("确实要卸载 Zendra 吗?"), Ansi("真的要卸载吗?")) +
                   Entry(Ansi("库：卸载已完成"), "keyed by the library's text: never used"));
  EXPECT_EQ(Ansi("真的要卸载吗?"), GetMessageText(IDS_CONFIRM_UNINSTALL));
  // With a language file the library's string table is not consulted.
  EXPECT_EQ(Ansi("卸载 Zendra"), GetMessageText(IDS_UNINSTALL_CAPTION));
  EXPECT_EQ(Ansi("卸载已完成"), GetMessageText(IDS_UNINSTALL_DONE));
}

TEST_F(MessageTextTest, EightBuffersAreUsedInTurn) {
  const int numbers[] = {IDS_DISPLAY_NAME,   IDS_HELP_SHORTCUT,  IDS_MANUAL_SHORTCUT,   IDS_UNINSTALL_CAPTION,
                         IDS_UNINSTALL_DONE, IDS_DELETE_BY_HAND, IDS_CONFIRM_UNINSTALL, IDS_LIST_NOT_OPENED};
  const char* texts[8];
  std::string copies[8];
  for (int i = 0; i < 8; ++i) {
    texts[i] = GetMessageText(numbers[i]);
    copies[i] = texts[i];
  }
  std::set<const char*> distinct(texts, texts + 8);
  EXPECT_EQ(8u, distinct.size());
  // All eight texts are still intact after the eighth call ...
  for (int i = 0; i < 8; ++i) EXPECT_EQ(copies[i], texts[i]) << i;
  // ... and the ninth call reuses the buffer of the first.
  const char* ninth = GetMessageText(IDS_ARCHIVE_TYPE);
  EXPECT_EQ(texts[0], ninth);
  EXPECT_EQ(Ansi("Zendra 压缩文件"), ninth);
  EXPECT_EQ(copies[1], texts[1]);
}

TEST_F(MessageTextTest, LongTranslationsAreCutAtTheMessageBuffer) {
  LoadLanguageFile(Entry(Ansi("卸载已完成"), std::string(400, 'w')));
  std::string text = GetMessageText(IDS_UNINSTALL_DONE);
  EXPECT_EQ(std::string(255, 'w'), text);
}

}  // namespace
