// Message texts by number from the language file, the language library and the
// program's own string table, in this order of precedence.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/ExtResource.h"
#include "language/LanguageResources.h"
#include "language/MessageText.h"
#include "tests/LanguageTestSupport.h"

using namespace language_test;

namespace {

using MessageTextTest = LanguageStateTest;

TEST_F(MessageTextTest, OwnStringTableWithoutLibraryOrFile) {
  EXPECT_FALSE(extResource.loaded);
  EXPECT_EQ(Gbk("确实要卸载 Zendra 吗?"), GetMessageText(5107));
  EXPECT_EQ(Gbk("卸载 Zendra"), GetMessageText(5104));
  EXPECT_EQ(Gbk("你应该手动删除 %s"), GetMessageText(5106));
  EXPECT_EQ(std::string("https://www.zendra-archiver.example/"), GetMessageText(5112));
  EXPECT_STREQ("", GetMessageText(4999)) << "a number no source knows";
}

TEST_F(MessageTextTest, LibraryReplacesTheStringsItHas) {
  LoadLibraryBeside("plain");
  ASSERT_TRUE(extResource.loaded);
  EXPECT_NE(ExtResource::ownModule, ExtResource::currentModule);
  EXPECT_EQ(Gbk("库：卸载 Zendra"), GetMessageText(5104));
  EXPECT_EQ(Gbk("确实要卸载 Zendra 吗?"), GetMessageText(5107)) << "not in the library: the program's own";
  extResource.Unload();
  EXPECT_FALSE(extResource.loaded);
  EXPECT_EQ(ExtResource::ownModule, ExtResource::currentModule);
  EXPECT_EQ(Gbk("卸载 Zendra"), GetMessageText(5104));
}

TEST_F(MessageTextTest, LanguageFileComesFirstAndKeysAreMadeFromTheOwnTexts) {
  LoadLibraryBeside("plain");
  ASSERT_TRUE(extResource.loaded);
  LoadLanguageFile(Entry("s" + Gbk("确实要卸载 Zendra 吗?"), "bad key: the prefix is part of the key") +
                   Entry(Gbk("确实要卸载 Zendra 吗?"), Gbk("真的要卸载吗?")) +
                   Entry(Gbk("库：卸载已完成"), "keyed by the library's text: never used"));
  ASSERT_TRUE(languageResources.IsLoaded());
  EXPECT_EQ(Gbk("真的要卸载吗?"), GetMessageText(5107));
  // With a language file the library's string table is not consulted.
  EXPECT_EQ(Gbk("卸载 Zendra"), GetMessageText(5104));
  EXPECT_EQ(Gbk("卸载已完成"), GetMessageText(5105));
}

TEST_F(MessageTextTest, EightBuffersAreUsedInTurn) {
  const int numbers[] = {5101, 5102, 5103, 5104, 5105, 5106, 5107, 5108};
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
  const char* ninth = GetMessageText(5109);
  EXPECT_EQ(texts[0], ninth);
  EXPECT_EQ(Gbk("Zendra 压缩文件"), ninth);
  EXPECT_EQ(copies[1], texts[1]);
}

TEST_F(MessageTextTest, LongTranslationsAreCutAtTheMessageBuffer) {
  LoadLanguageFile(Entry(Gbk("卸载已完成"), std::string(400, 'w')));
  std::string text = GetMessageText(5105);
  EXPECT_EQ(std::string(255, 'w'), text);
}

}  // namespace
