#include "json_root.h"
#include "test_dir.h"
#include "tree_text.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

TEST(JsonRoot, ReadsIntoTheSharedNodesOrGivesNoRoot) {
    struct Case {
        const char* json;
        const char16_t* tree;
    };
    const Case cases[] = {
        {R"([{"HW": "415"}, {"b": 1, "a": 2, "b": 3}])", u"[{HW:\"415\"},{b:1,a:2,b:3}]"},
        {R"({"t": true, "n": null, "d": -1.50, "e": {}, "l": []})",
         u"{t:true,n:~,d:-1.50,e:{},l:[]}"},
        {R"("Привет \u0041\n")", u"\"Привет A\n\""},
        {"", u"null"},
        {"[1,]", u"null"},
        {"{'a': 1}", u"null"},
        {"[1] 2", u"null"},
        {"\"\xC3\"", u"null"},
        {"[1, 2", u"null"},
    };
    for (const Case& c : cases) {
        JsonRoot document;
        ASSERT_TRUE(document.parse(QByteArray("[7]")));
        EXPECT_EQ(document.parse(QByteArray(c.json)), c.tree != std::u16string_view(u"null"));
        EXPECT_EQ(treeText(document.root()), QString::fromUtf16(c.tree)) << c.json;
    }
}

TEST(JsonRoot, ReadsDeepFilesWithoutRecursion) {
    const int depth = 200000;
    TestDir dir;
    dir.writeFile(QStringLiteral("deep.set"), QByteArray(depth, '[') + QByteArray(depth, ']'));
    const JsonRoot document(dir.file(QStringLiteral("deep.set")));
    Node node = document.root();
    int levels = 0;
    for (; node.isList(); node = node.child(0)) {
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    EXPECT_FALSE(JsonRoot(dir.file(QStringLiteral("none.set"))).root().valid());
}

} // namespace
