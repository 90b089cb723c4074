#include "simple_log.h"
#include "test_dir.h"
#include "tree_text.h"
#include "yaml_root.h"

#include <QDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Every failing parse of this test program logs into one file of its own.
[[maybe_unused]] const bool logRedirected = [] {
    SimpleLog::setFileName(
        QDir::temp().filePath(QStringLiteral("talvik_iface_tests_%1.log").arg(getpid())));
    return true;
}();

TEST(YamlRoot, AcceptedTexts) {
    struct Case {
        const char* text;
        const char16_t* tree;
    };
    const Case cases[] = {
        // Lines.
        {"\n   \n\r\n", u"~"},
        {"---\na: 1\n", u"{a:1}"},
        {"#a: 1\n#b:\n  - # x\n", u"{#a:1,#b:[# x]}"},
        // Indentation.
        {"a:\n  b:\n    c: 1\n  d: 2\ne: 3\n", u"{a:{b:{c:1},d:2},e:3}"},
        {"   a:\n          b: 1\n          c: 2\n   d: 3\n", u"{a:{b:1,c:2},d:3}"},
        {"- a: 1\n  b: 2\n- c:\n    - x\n", u"[{a:1,b:2},{c:[x]}]"},
        {"- \n  a: 1\n", u"[{a:1}]"},
        // List markers.
        {"- - a\n  - b\n-\n- c\n", u"[[a,b],~,c]"},
        {"- value   \n", u"[value   ]"},
        {"- \"-5\"\n- Value: -5\n", u"[\"-5\",{Value:-5}]"},
        {"- - Mode\n  - [Off, On]\n  - [0, 1]\n", u"[[Mode,[Off,On],[0,1]]]"},
        {"- a:b: c\n", u"[a:b: c]"},
        // Keys and values.
        {"Name : a\nName: b\nkey: value   \nc:\n", u"{Name :a,Name:b,key:value,c:~}"},
        {"a: {}\nb: { }\nc: with: colon\n", u"{a:{},b:{ },c:with: colon}"},
        // Flow lists.
        {"C: [a,,b,]\nD: [a, , b]\nE: []\n", u"{C:[a,b],D:[a,~,b],E:[]}"},
        {"C: [1,\n2]\nD: [1,\n 2] rest\nE: 3\n", u"{C:[1,2],D:[1,2],E:3}"},
        {"C: [\ta\t, \"a\\tb\", {}, [x]]\n", u"{C:[a,\"a\\tb\",{},[x]]}"},
        {"C: [a] b\nD: c]\nE: 1\n", u"{C:[a] b\nD: c],E:1}"},
        // Quoted strings and escapes.
        {"a: \"x y\"\nb: \"\"\nc: x \"y\"\n", u"{a:\"x y\",b:\"\",c:x \"y\"}"},
        {"a: \"x\\ty\\xz\"\n", u"{a:\"x\ty\\xz\"}"},
        {"a: \"\\\"\\\\n\\n\\r\"\n", u"{a:\"\"\\n\n\r\"}"},
    };
    for (const Case& c : cases) {
        YamlRoot document;
        EXPECT_TRUE(document.parse(QString::fromUtf8(c.text))) << c.text;
        EXPECT_EQ(treeText(document.root()), QString::fromUtf16(c.tree)) << c.text;
    }
}

TEST(YamlRoot, RejectedTextsWithTheirLines) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        // Indentation, TABs included.
        {"a:\n    b: 1\n  c: 2\n", 2},
        {"  a: 1\nb: 2\n", 1},
        {"a: 1\n  b: 2\n", 1},
        {"a:\n\tb: 1\n", 1},
        {"- a\n\t- b\n", 1},
        {"a:\n  - 1\n  \t- 2\n", 2},
        // List markers.
        {"- -5\n", 0},
        {"a:\n  -x\n", 1},
        {"-\tx\n", 0},
        {"a:\n- 1\n", 1},
        {"a: 1\n- b\n", 1},
        {"- a\nb: 1\n", 1},
        {"- a\n  b: 1\n", 1},
        // Keys and scalars.
        {"a: 1\n# note\n", 1},
        {"plain\n", 0},
        {": 1\n", 0},
        {"a:b: c\n", 0},
        {"\"a\": 1\n", 0},
        {"- a\n- b: 1\n  - c\n", 2},
        // Flow lists: an open one is reported where it starts.
        {"a: 1\nC: [1,\n2\n", 1},
        {"C: [[a, b]]\n", 0},
        {"C: [\"a, b\"]\n", 0},
        // Quotes.
        {"a: \"\n", 0},
        {"b: 1\na: \"abc\n", 1},
        {"- \"a\"  \n", 0},
    };
    for (const Case& c : cases) {
        YamlRoot document;
        EXPECT_FALSE(document.parse(QString::fromUtf8(c.text))) << c.text;
        EXPECT_FALSE(document.root().valid()) << c.text;
        EXPECT_EQ(document.errorLine(), c.line) << c.text;
    }
}

TEST(YamlRoot, LineEndingsGiveTheSameTreeAndTheSameFailureLine) {
    for (const QString& ending : {u"\n"_s, u"\r"_s, u"\r\n"_s}) {
        YamlRoot document;
        QString text = QStringLiteral("A:\n  - x: 1\n\n    y: [1,\n 2]\n  - \"q\"\nB: {}\n");
        ASSERT_TRUE(document.parse(text.replace(u'\n', ending)));
        EXPECT_EQ(treeText(document.root()), u"{A:[{x:1,y:[1,2]},\"q\"],B:{}}");
        text = QStringLiteral("A:\n  - x: 1\n\n    y: 2\n   z: 3\n");
        EXPECT_FALSE(document.parse(text.replace(u'\n', ending)));
        EXPECT_EQ(document.errorLine(), 4);
    }
}

TEST(YamlRoot, FilesInTheirCodePages) {
    TestDir dir;
    const QByteArray body = "Name: Привет\n";
    const QString text = QString::fromUtf8(body);
    dir.writeFile(QStringLiteral("plain.h"), body);
    dir.writeFile(QStringLiteral("bom.h"), "\xEF\xBB\xBF" + body);
    dir.writeFile(QStringLiteral("wide.h"),
                  QByteArray("\xFF\xFE", 2) +
                      QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
    dir.writeFile(QStringLiteral("empty.h"), {});
    for (const auto& [file, codePage] :
         {std::pair{"plain.h", 65001}, std::pair{"bom.h", 65001}, std::pair{"wide.h", 1200}}) {
        const YamlRoot document(dir.file(QString::fromLatin1(file)), codePage);
        EXPECT_EQ(document.root().child("Name").asString(), u"Привет") << file;
    }
    for (const char* file : {"empty.h", "missing.h"}) {
        const YamlRoot document(dir.file(QString::fromLatin1(file)), 65001);
        EXPECT_FALSE(document.root().valid());
        EXPECT_EQ(document.errorLine(), -1);
    }
}

TEST(YamlRoot, LargeInputsStayLinear) {
    // 200 000 one-item lists, and as many nested markers on one line: both read quickly and
    // without deep recursion.
    YamlRoot document;
    ASSERT_TRUE(document.parse(QString(u"- [a]\n"_s).repeated(200000)));
    EXPECT_EQ(document.root().count(), 200000);
    const QString markers = QString(u"- "_s).repeated(200000);
    ASSERT_TRUE(document.parse(markers + u'x'));
    Node node = document.root();
    int depth = 0;
    for (; node.isList(); node = node.child(0)) {
        ++depth;
    }
    EXPECT_EQ(depth, 200000);
    EXPECT_EQ(node.asString(), u"x");
    EXPECT_FALSE(document.parse(u"a: 1\nb: ["_s + QString(markers).replace(u' ', u'\n')));
    EXPECT_EQ(document.errorLine(), 1);
}

TEST(Node, ReadsAreSafeAndConvertOnDemand) {
    YamlRoot document;
    ASSERT_TRUE(document.parse(u"n: \"  -42x\"\nt: true\none: 1\nyes: yes\nL: [8]\n"
                               u"m:\n  k: v\nL: [5, 6, 7]\n"));
    const Node root = document.root();
    EXPECT_EQ(root.count(), 7);
    EXPECT_EQ(root.child(u"n").asInteger(), -42);
    EXPECT_TRUE(root.child(u"t").asBoolean());
    EXPECT_TRUE(root.child(u"one").asBoolean());
    EXPECT_FALSE(root.child(u"yes").asBoolean());
    EXPECT_EQ(root.child(u"m").asString(), QString());
    EXPECT_EQ(root.child(u"m").asInteger() + root.child(u"t").count(), 0);
    const Node list = root.child(4);
    EXPECT_FALSE(list.child(1).valid() || list.child(-1).valid() || list.child(u"k").valid() ||
                 root.child(u"absent").valid());

    int out[2] = {0, 0};
    // A repeated key is found at its later value; both stay in the map.
    EXPECT_EQ(root.readIntegers(u"L", out, 2), 3);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(root.readIntegers("absent", out, 2), 0);

    EXPECT_EQ(Node().count() + Node().readIntegers(u"L", out, 2), 0);
    EXPECT_FALSE(Node().child(0).valid() || Node().child(u"k").valid() || Node().isQuoted());
}

} // namespace
