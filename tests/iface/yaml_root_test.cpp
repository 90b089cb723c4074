#include "simple_log.h"
#include "test_dir.h"
#include "tree_text.h"
#include "yaml_root.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Every failing parse of this test program logs into one file of its own.
[[maybe_unused]] const bool logRedirected = [] {
    SimpleLog::setFileName(
        QDir::temp().filePath(QStringLiteral("talvik_iface_tests_%1.log").arg(getpid())));
    return true;
}();

struct Accepted {
    const char* name;
    const char* text;
    const char16_t* tree;
};

struct Rejected {
    const char* name;
    const char* text;
    int line;
};

void expectAccepted(const Accepted& c) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromUtf8(c.text))) << c.name;
    EXPECT_EQ(document.errorLine(), -1) << c.name;
    EXPECT_EQ(treeText(document.root()), QString::fromUtf16(c.tree)) << c.name;
}

void expectRejected(const Rejected& c) {
    YamlRoot document;
    EXPECT_FALSE(document.parse(QString::fromUtf8(c.text))) << c.name;
    EXPECT_FALSE(document.root().valid()) << c.name;
    EXPECT_EQ(document.errorLine(), c.line) << c.name;
}

TEST(YamlRootLines, EmptyAndBlankTexts) {
    YamlRoot empty;
    EXPECT_TRUE(empty.parse(u""));
    EXPECT_FALSE(empty.root().valid());
    EXPECT_EQ(empty.errorLine(), -1);

    const Accepted cases[] = {
        {"blank lines only", "\n   \n\r\n", u"~"},
        {"document marker", "---\na: 1\n", u"{a:1}"},
        {"hash is no comment", "- # not a comment\n", u"[# not a comment]"},
        {"hash key", "#a: 1\n", u"{#a:1}"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    expectRejected({"hash line at key level", "a: 1\n# note\n", 1});
}

TEST(YamlRootLines, LineEndingsGiveTheSameTreeAndTheSameFailureLine) {
    const QString good = QStringLiteral("A:\n  - x: 1\n\n    y: [1,\n 2]\n  - \"q\"\nB: {}\n");
    const QString bad = QStringLiteral("A:\n  - x: 1\n\n    y: 2\n   z: 3\n");
    QString reference;
    for (const QString& ending :
         {QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral("\r\n")}) {
        QString text = good;
        text.replace(u'\n', ending);
        YamlRoot document;
        ASSERT_TRUE(document.parse(text));
        if (reference.isEmpty()) {
            reference = treeText(document.root());
            EXPECT_EQ(reference, u"{A:[{x:1,y:[1,2]},\"q\"],B:{}}");
        }
        EXPECT_EQ(treeText(document.root()), reference);

        text = bad;
        text.replace(u'\n', ending);
        EXPECT_FALSE(document.parse(text));
        EXPECT_EQ(document.errorLine(), 4);
    }
}

TEST(YamlRootLines, FilesInTheirCodePages) {
    TestDir dir;
    const QByteArray body = "Name: Привет\n";
    dir.writeFile(QStringLiteral("plain.h"), body);
    dir.writeFile(QStringLiteral("bom.h"), "\xEF\xBB\xBF" + body);
    QByteArray utf16("\xFF\xFE", 2);
    const QString text = QString::fromUtf8(body);
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    dir.writeFile(QStringLiteral("wide.h"), utf16);
    dir.writeFile(QStringLiteral("empty.h"), {});

    for (const auto& [file, codePage] :
         {std::pair{"plain.h", 65001}, std::pair{"bom.h", 65001}, std::pair{"wide.h", 1200}}) {
        const YamlRoot document(dir.file(QString::fromLatin1(file)), codePage);
        EXPECT_EQ(document.root().child("Name").asString(), u"Привет") << file;
    }
    const YamlRoot empty(dir.file(QStringLiteral("empty.h")), 65001);
    EXPECT_FALSE(empty.root().valid());
    EXPECT_EQ(empty.errorLine(), -1);
    const YamlRoot missing(dir.file(QStringLiteral("missing.h")), 65001);
    EXPECT_FALSE(missing.root().valid());
    EXPECT_EQ(missing.errorLine(), -1);
}

TEST(YamlRootIndentation, LevelsFollowTheSpaces) {
    const Accepted cases[] = {
        {"nested maps", "a:\n  b:\n    c: 1\n  d: 2\ne: 3\n", u"{a:{b:{c:1},d:2},e:3}"},
        {"any deeper step", "a:\n       b: 1\n       c: 2\n", u"{a:{b:1,c:2}}"},
        {"indented top level", "   a: 1\n   b: 2\n", u"{a:1,b:2}"},
        {"list under key", "a:\n  - 1\n  - 2\nb: 3\n", u"{a:[1,2],b:3}"},
        {"item keys continue", "- a: 1\n  b: 2\n- c: 3\n", u"[{a:1,b:2},{c:3}]"},
        {"item value below", "- a:\n    - x\n  b: 1\n", u"[{a:[x],b:1}]"},
        {"item filled below a bare marker", "- \n  a: 1\n", u"[{a:1}]"},
        {"tab is content of a key", "a:\n\tb: 1\n", u"{a:~,\tb:1}"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    const Rejected rejected[] = {
        {"dedent between levels", "a:\n    b: 1\n  c: 2\n", 2},
        {"closing past the top", "  a: 1\nb: 2\n", 1},
        {"deeper under a scalar", "a: 1\n  b: 2\n", 1},
        {"tab before a marker", "- a\n\t- b\n", 1},
        {"tab after spaces in a list", "a:\n  - 1\n  \t- 2\n", 2},
    };
    for (const Rejected& c : rejected) {
        expectRejected(c);
    }
}

TEST(YamlRootListMarkers, MarkersOpenItems) {
    const Accepted cases[] = {
        {"nested markers", "- - a\n  - b\n- c\n", u"[[a,b],c]"},
        {"bare marker", "-\n- \n- x\n", u"[~,~,x]"},
        {"bare value keeps trailing spaces", "- value   \n", u"[value   ]"},
        {"quoted negative", "- \"-5\"\n", u"[\"-5\"]"},
        {"negative as value", "Value: -5\n", u"{Value:-5}"},
        {"key after marker", "- Type: Tab\n  Caption: Main\n", u"[{Type:Tab,Caption:Main}]"},
        {"rows of a combo", "- - Mode\n  - [Off, On]\n  - [0, 1]\n", u"[[Mode,[Off,On],[0,1]]]"},
        {"bare value with colon inside", "- a:b\n", u"[a:b]"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    const Rejected rejected[] = {
        {"negative item", "- -5\n", 0},
        {"minus without space", "a:\n  -x\n", 1},
        {"minus then tab", "-\tx\n", 0},
        {"list at key indentation", "a:\n- 1\n", 1},
        {"marker into a map", "a: 1\n- b\n", 1},
        {"key into a list", "- a\nb: 1\n", 1},
        {"bare scalar in map", "a: 1\nplain\n", 1},
        {"bare scalar at top", "plain\n", 0},
        {"item continued under scalar", "- a\n  b: 1\n", 1},
    };
    for (const Rejected& c : rejected) {
        expectRejected(c);
    }
}

TEST(YamlRootKeys, KeysAndValues) {
    const Accepted cases[] = {
        {"space before colon is key", "Name : a\nName: b\n", u"{Name :a,Name:b}"},
        {"value trimmed", "key: value   \n", u"{key:value}"},
        {"only first colon counts", "- a:b: c\n", u"[a:b: c]"},
        {"colon at end", "a:\n", u"{a:~}"},
        {"empty map value", "a: {}\nb: { }\n", u"{a:{},b:{ }}"},
        {"bare empty map", "- {}\n", u"[{}]"},
        {"spaces in keys", "Long key: with: colon\n", u"{Long key:with: colon}"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    const Rejected rejected[] = {
        {"empty key", ": 1\n", 0},
        {"not a key line at key level", "a:b: c\n", 0},
        {"quoted key", "\"a\": 1\n", 0},
        {"map after scalar item", "- a\n- b: 1\n  - c\n", 2},
    };
    for (const Rejected& c : rejected) {
        expectRejected(c);
    }
}

TEST(YamlRootKeys, RepeatedKeyFindsTheLaterValue) {
    YamlRoot document;
    ASSERT_TRUE(document.parse(u"a: 1\nb: 2\na: 3\n"));
    const Node root = document.root();
    EXPECT_EQ(root.count(), 3);
    EXPECT_EQ(root.child(u"a").asString(), u"3");
    EXPECT_EQ(root.child(0).asString(), u"1");
    EXPECT_EQ(root.child("b").asInteger(), 2);
}

TEST(YamlRootFlowLists, ItemsAndSpans) {
    const Accepted cases[] = {
        {"comma runs", "C: [a,,b,]\n", u"{C:[a,b]}"},
        {"blank item", "C: [a, , b]\n", u"{C:[a,~,b]}"},
        {"empty", "C: []\n", u"{C:[]}"},
        {"over two lines", "C: [1,\n2]\nD: 3\n", u"{C:[1,2],D:3}"},
        {"text after bracket on a later line", "C: [1,\n 2] rest\nD: 3\n", u"{C:[1,2],D:3}"},
        {"items trimmed of tabs", "C: [\ta\t,b ]\n", u"{C:[a,b]}"},
        {"quoted item keeps backslash", "C: [\"a\\tb\", x]\n", u"{C:[\"a\\tb\",x]}"},
        {"empty map item", "C: [{}, a]\n", u"{C:[{},a]}"},
        {"nested single list", "C: [[a], b]\n", u"{C:[[a],b]}"},
        {"bare flow item", "- [Number 1]\n- [Number 2]\n", u"[[Number 1],[Number 2]]"},
        {"value not ending in bracket", "C: [a] b\nD: c]\nE: 1\n", u"{C:[a] b\nD: c],E:1}"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    const Rejected rejected[] = {
        {"never closed", "a: 1\nC: [1,\n2\n", 3},
        {"never closed without final break", "C: [1, 2", 0},
        {"open nested item", "C: [[a, b]]\n", 0},
        {"unterminated quoted item", "C: [\"a, b\"]\n", 0},
    };
    for (const Rejected& c : rejected) {
        expectRejected(c);
    }
}

TEST(YamlRootQuoted, QuotesAndEscapes) {
    const Accepted cases[] = {
        {"plain quoted", "a: \"x y\"\n", u"{a:\"x y\"}"},
        {"empty quoted", "a: \"\"\n", u"{a:\"\"}"},
        {"tab escape", "a: \"x\\ty\"\n", u"{a:\"x\ty\"}"},
        {"unknown escape stays", "a: \"x\\xy\"\n", u"{a:\"x\\xy\"}"},
        {"quote and backslash", "a: \"\\\"\\\\n\"\n", u"{a:\"\"\\n\"}"},
        {"line breaks", "a: \"1\\n2\\r\"\n", u"{a:\"1\n2\r\"}"},
        {"plain keeps quotes inside", "a: x \"y\"\n", u"{a:x \"y\"}"},
    };
    for (const Accepted& c : cases) {
        expectAccepted(c);
    }
    const Rejected rejected[] = {
        {"lone quote", "a: \"\n", 0},
        {"unterminated", "b: 1\na: \"abc\n", 1},
        {"quoted bare item with trailing spaces", "- \"a\"  \n", 0},
    };
    for (const Rejected& c : rejected) {
        expectRejected(c);
    }
}

TEST(YamlRootFailures, OneLogLineWithTheZeroBasedLine) {
    QFile log(SimpleLog::fileName());
    const qint64 before = log.exists() ? log.size() : 0;
    {
        YamlRoot document;
        EXPECT_TRUE(document.parse(u"a: 1\n"));
        EXPECT_FALSE(document.parse(u"a:\n  b: 1\n\n\n c: 2\n"));
        EXPECT_FALSE(document.root().valid());
        EXPECT_TRUE(document.parse(u"a: 2\n"));
        EXPECT_EQ(document.root().child(u"a").asInteger(), 2);
    }
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    ASSERT_TRUE(log.seek(before));
    const QByteArray text = log.readAll();
    EXPECT_EQ(text.count("NODE is invalid"), 1);
    EXPECT_TRUE(text.contains(" NODE is invalid in line:\t4\n"));
}

TEST(YamlRootFailures, LargeInputsStayLinear) {
    // 200 000 one-item lists with no comma after them, and as many nested markers on one line:
    // both must read in well under a second and without deep recursion.
    QString lists;
    for (int i = 0; i < 200000; ++i) {
        lists += u"- [a]\n";
    }
    YamlRoot document;
    ASSERT_TRUE(document.parse(lists));
    EXPECT_EQ(document.root().count(), 200000);

    QString markers;
    for (int i = 0; i < 200000; ++i) {
        markers += u"- ";
    }
    ASSERT_TRUE(document.parse(markers + QStringLiteral("x")));
    Node node = document.root();
    int depth = 0;
    while (node.isList()) {
        node = node.child(0);
        ++depth;
    }
    EXPECT_EQ(depth, 200000);
    EXPECT_EQ(node.asString(), u"x");

    // An unclosed list fails at the end of the text, past the last line break.
    EXPECT_FALSE(document.parse(QStringLiteral("a: [") + markers.replace(u' ', u'\n')));
    EXPECT_EQ(document.errorLine(), 200000);
}

TEST(Node, ReadsAreSafeAndConvertOnDemand) {
    YamlRoot document;
    ASSERT_TRUE(document.parse(
        u"n: \"  -42x\"\nt: true\none: 1\nyes: yes\nL: [5, 6, 7]\nS: 9\nm:\n  k: v\n"));
    const Node root = document.root();
    EXPECT_EQ(root.child(u"n").asInteger(), -42);
    EXPECT_TRUE(root.child(u"t").asBoolean());
    EXPECT_TRUE(root.child(u"one").asBoolean());
    EXPECT_FALSE(root.child(u"yes").asBoolean());
    EXPECT_EQ(root.child(u"m").asString(), QString());
    EXPECT_EQ(root.child(u"m").asInteger(), 0);
    EXPECT_EQ(root.child(u"S").count(), 0);
    EXPECT_FALSE(root.child(u"L").child(3).valid());
    EXPECT_FALSE(root.child(u"L").child(-1).valid());
    EXPECT_FALSE(root.child(u"L").child(u"k").valid());
    EXPECT_FALSE(root.child(u"absent").valid());

    int out[2] = {0, 0};
    EXPECT_EQ(root.readIntegers(u"L", out, 2), 3);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(root.readIntegers("absent", out, 2), 0);

    const Node none;
    EXPECT_FALSE(none.valid());
    EXPECT_EQ(none.count(), 0);
    EXPECT_FALSE(none.child(0).valid());
    EXPECT_FALSE(none.child(u"k").valid());
    EXPECT_FALSE(none.isQuoted());
    EXPECT_EQ(none.readIntegers(u"L", out, 2), 0);
}

} // namespace
