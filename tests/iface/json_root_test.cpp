#include "json_root.h"
#include "test_dir.h"
#include "tree_text.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

TEST(JsonRoot, ReadsIntoTheSharedNodes) {
    struct Case {
        const char* json;
        const char16_t* tree;
    };
    const Case cases[] = {
        {R"([{"HW": "415"}, {"Value": 12, "None": "3 x"}])",
         u"[{HW:\"415\"},{Value:12,None:\"3 x\"}]"},
        {R"({"b": 1, "a": 2, "b": 3})", u"{b:1,a:2,b:3}"},
        {R"({"t": true, "f": false, "n": null, "d": -1.50, "e": {}, "l": []})",
         u"{t:true,f:false,n:~,d:-1.50,e:{},l:[]}"},
        {R"("Привет \u0041\n")", u"\"Привет A\n\""},
        {"  [ 1 , 2 ]  ", u"[1,2]"},
    };
    for (const Case& c : cases) {
        JsonRoot document;
        EXPECT_TRUE(document.parse(QByteArray(c.json))) << c.json;
        EXPECT_EQ(treeText(document.root()), QString::fromUtf16(c.tree)) << c.json;
    }

    JsonRoot document;
    ASSERT_TRUE(document.parse(QByteArray(R"({"b": "1", "a": 2, "b": 3})")));
    EXPECT_EQ(document.root().child(u"b").asInteger(), 3);
    EXPECT_TRUE(document.root().child(0).isQuoted());
    EXPECT_FALSE(document.root().child(u"a").isQuoted());
}

TEST(JsonRoot, MalformedTextGivesNoRoot) {
    const char* cases[] = {
        "", "[", "[1,]", "{\"a\" 1}", "{'a': 1}", "[1] 2", "\"\xC3\"", "nul", "[1, 2",
    };
    for (const char* c : cases) {
        JsonRoot document;
        ASSERT_TRUE(document.parse(QByteArray("[7]")));
        EXPECT_FALSE(document.parse(QByteArray(c))) << c;
        EXPECT_FALSE(document.root().valid()) << c;
    }
}

TEST(JsonRoot, DeepNestingNeitherCrashesNorRecurses) {
    const int depth = 200000;
    const QByteArray text = QByteArray(depth, '[') + QByteArray(depth, ']');
    JsonRoot document;
    ASSERT_TRUE(document.parse(text));
    Node node = document.root();
    int levels = 0;
    while (node.isList()) {
        node = node.child(0);
        ++levels;
    }
    EXPECT_EQ(levels, depth);
}

TEST(JsonRoot, ReadsFiles) {
    TestDir dir;
    dir.writeFile(QStringLiteral("last.set"), R"([{"HW": 415}])");
    const JsonRoot document(dir.file(QStringLiteral("last.set")));
    EXPECT_EQ(document.root().child(0).child(u"HW").asInteger(), 415);
    const JsonRoot missing(dir.file(QStringLiteral("none.set")));
    EXPECT_FALSE(missing.root().valid());
}

} // namespace
