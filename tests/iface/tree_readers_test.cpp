#include "json_root.h"
#include "simple_log.h"
#include "test_dir.h"
#include "yaml_root.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace talvik::iface;
using namespace talvik::support;

namespace {

// Every failing parse of this test program logs into one file of its own.
[[maybe_unused]] const bool logRedirected = [] {
    SimpleLog::setFileName(
        QDir::temp().filePath(QStringLiteral("talvik_iface_tests_%1.log").arg(getpid())));
    return true;
}();

// A short, exact picture of a tree: null for no node, ~ for an empty one, a scalar's text (in
// double quotes when it was quoted), [a,b] for a list, {k:v,...} for a map.
QString treeText(Node node) {
    if (!node.valid() || node.isScalar()) {
        return !node.valid()     ? u"null"_s
               : node.isQuoted() ? u'"' + node.asString() + u'"'
                                 : node.asString();
    }
    if (!node.isList() && !node.isMap()) {
        return u"~"_s;
    }
    QStringList items;
    for (int i = 0; i < node.count(); ++i) {
        items << (node.isMap() ? node.child(i).key() + u':' : QString()) + treeText(node.child(i));
    }
    return node.isList() ? u'[' + items.join(u',') + u']' : u'{' + items.join(u',') + u'}';
}

// The tree read, or "line N" for a failure at zero-based line N (which must leave no tree).
QString read(YamlRoot& document, const QString& text) {
    if (document.parse(text)) {
        return document.errorLine() == -1 ? treeText(document.root()) : u"stale line"_s;
    }
    return u"line "_s + QString::number(document.errorLine()) +
           (document.root().valid() ? u" with a tree"_s : QString());
}

// A text and the tree it reads as, or the line it fails at.
struct TreeRow {
    const char* name;
    const char* text;
    const char16_t* tree;
};

class YamlText : public testing::TestWithParam<TreeRow> {};

// The document failed on another text before, so a failure left behind would show.
TEST_P(YamlText, ReadsAsItsTreeOrFailsAtItsLine) {
    YamlRoot document;
    ASSERT_FALSE(document.parse(u"- -5\n"_s));
    EXPECT_EQ(read(document, QString::fromUtf8(GetParam().text)),
              QString::fromUtf16(GetParam().tree));
}

INSTANTIATE_TEST_SUITE_P(
    YamlRoot, YamlText,
    testing::Values(
        TreeRow{"OnlyBlankLines", "\n   \n\r\n", u"~"},
        TreeRow{"DocumentMarker", "---\na: 1\n", u"{a:1}"},
        TreeRow{"HashIsText", "#a: 1\n#b:\n  - # x\n", u"{#a:1,#b:[# x]}"},
        TreeRow{"IndentedMapsCloseByIndent", "   a:\n     b:\n          c: 1\n     d: 2\n   e: 3\n",
                u"{a:{b:{c:1},d:2},e:3}"},
        TreeRow{"ListOfMaps", "- a: 1\n  b: 2\n- c:\n    - x\n", u"[{a:1,b:2},{c:[x]}]"},
        TreeRow{"MapStartingOnTheNextLine", "- \n  a: 1\n", u"[{a:1}]"},
        TreeRow{"IndentedFirstKeyThenLess", "  a: 1\nb: 2\n", u"line 1"},
        TreeRow{"TabIndent", "a:\n\tb: 1\n", u"line 1"},
        TreeRow{"NestedListsAndEmptyItem", "- - a\n  - b\n-\n- c\n", u"[[a,b],~,c]"},
        TreeRow{"ListItemKeepsTrailingSpaces", "- value   \n", u"[value   ]"},
        TreeRow{"QuotedNumberAndPlainNumber", "- \"-5\"\n- Value: -5\n", u"[\"-5\",{Value:-5}]"},
        TreeRow{"ColonWithoutSpaceIsText", "- a:b: c\n", u"[a:b: c]"},
        TreeRow{"DashNumberIsAMarker", "- -5\n", u"line 0"},
        TreeRow{"ListUnderKeyNotIndented", "a:\n- 1\n", u"line 1"},
        TreeRow{"ListThenMap", "- a\nb: 1\n", u"line 1"},
        // Keys and values; a repeated key stays in the map.
        TreeRow{"RepeatedKeysAndTrimmedValues", "Name : a\nName: b\nkey: value   \nc:\nkey: 2\n",
                u"{Name :a,Name:b,key:value,c:~,key:2}"},
        TreeRow{"EmptyMapsAndColonsInValues", "a: {}\nb: { }\nc: with: colon\n",
                u"{a:{},b:{ },c:with: colon}"},
        TreeRow{"CommentLineInAMap", "a: 1\n# note\n", u"line 1"},
        TreeRow{"EmptyKey", ": 1\n", u"line 0"},
        // Flow lists: an open one is reported where it starts.
        TreeRow{"FlowListSkipsEmptyItemsButNotBlanks", "C: [a,,b,]\nD: [a, , b]\nE: []\n",
                u"{C:[a,b],D:[a,~,b],E:[]}"},
        TreeRow{"FlowListAcrossLines", "C: [1,\n2]\nD: [1,\n 2] rest\nE: 3\n",
                u"{C:[1,2],D:[1,2],E:3}"},
        TreeRow{"FlowListWithTabsQuotesAndEmptyOnes", "C: [\ta\t, \"a\\tb\", {}, [x]]\n",
                u"{C:[a,\"a\\tb\",{},[x]]}"},
        TreeRow{"TextAfterAFlowList", "C: [a] b\nD: c]\nE: 1\n", u"{C:[a] b\nD: c],E:1}"},
        TreeRow{"FlowListLeftOpen", "a: 1\nC: [1,\n2\n", u"line 1"},
        TreeRow{"NestedFlowList", "C: [[a, b]]\n", u"line 0"},
        TreeRow{"QuotedCommaInFlowList", "C: [\"a, b\"]\n", u"line 0"},
        TreeRow{"QuotedValues", "a: \"x y\"\nb: \"\"\nc: x \"y\"\n",
                u"{a:\"x y\",b:\"\",c:x \"y\"}"},
        TreeRow{"EscapesInQuotes", "a: \"x\\ty\\xz\"\n", u"{a:\"x\ty\\xz\"}"},
        TreeRow{"EscapedQuoteBackslashAndBreaks", "a: \"\\\"\\\\n\\n\\r\"\n", u"{a:\"\"\\n\n\r\"}"},
        TreeRow{"QuoteLeftOpen", "b: 1\na: \"abc\n", u"line 1"},
        TreeRow{"TextAfterAQuote", "- \"a\"  \n", u"line 0"},
        // Lines end in CR or CR LF alike.
        TreeRow{"CarriageReturns", "A:\r  - x: 1\r\r    y: [1,\r 2]\r  - \"q\"\rB: {}\r",
                u"{A:[{x:1,y:[1,2]},\"q\"],B:{}}"},
        TreeRow{"BadIndentAfterCarriageReturnLineFeeds",
                "A:\r\n  - x: 1\r\n\r\n    y: 2\r\n   z: 3\r\n", u"line 4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(YamlRoot, FilesInTheirCodePages) {
    TestDir dir;
    const QString text = u"Name: Привет\n"_s;
    const QByteArray wide =
        QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char*>(text.utf16()), 26);
    for (const auto& [bytes, codePage, tree] :
         {std::tuple{text.toUtf8(), 65001, u"{Name:Привет}"},
          {"\xEF\xBB\xBF" + text.toUtf8(), 65001, u"{Name:Привет}"},
          {wide, 1200, u"{Name:Привет}"},
          {QByteArray(), 65001, u"null"}}) {
        dir.writeFile(u"d.h"_s, bytes);
        const YamlRoot document(dir.file(u"d.h"_s), codePage);
        EXPECT_EQ(treeText(document.root()), QString::fromUtf16(tree)) << codePage;
        EXPECT_EQ(document.errorLine(), -1);
    }
    EXPECT_FALSE(YamlRoot(dir.file(u"none.h"_s), 65001).root().valid());
}

TEST(YamlRoot, LargeInputsStayLinear) {
    // 200 000 one-item lists, and as many nested markers on one line: both read quickly and
    // without deep recursion.
    YamlRoot document;
    ASSERT_TRUE(document.parse(u"- [a]\n"_s.repeated(200000)));
    EXPECT_EQ(document.root().count(), 200000);
    const QString markers = u"- "_s.repeated(200000);
    ASSERT_TRUE(document.parse(markers + u'x'));
    Node node = document.root();
    for (int i = 0; i < 200000; ++i) {
        node = node.child(0);
    }
    EXPECT_EQ(treeText(node), u"x");
    EXPECT_EQ(read(document, u"a: 1\nb: ["_s + QString(markers).replace(u' ', u'\n')), u"line 1");
}

// A document whose values read as numbers and truth values on demand.
class NodeReads : public testing::Test {
protected:
    NodeReads() { EXPECT_TRUE(parsed); }
    YamlRoot document;
    const bool parsed =
        document.parse(u"n: \"  -42x\"\nt: true\none: 1\nyes: yes\nL: [8]\nL: [5, 6, 7]\n");
    const Node root = document.root();
    int out[2] = {0, 0};
};

TEST_F(NodeReads, IntegersOfARepeatedKeyComeFromItsLaterValue) {
    EXPECT_EQ(root.readIntegers(u"L", out, 2), 3);
}

TEST_F(NodeReads, IntegersFillOnlyTheRoomGiven) {
    (void)root.readIntegers(u"L", out, 2);
    EXPECT_EQ(out[1], 6);
}

TEST_F(NodeReads, IntegersOfAnAbsentKeyAreNone) {
    EXPECT_EQ(root.readIntegers("absent", out, 2), 0);
}

TEST_F(NodeReads, AnIntegerSkipsLeadingSpacesAndStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(root.child(u"n").asInteger(), -42);
}

// A value and whether it reads as true.
struct TruthRow {
    const char* name;
    const char16_t* key;
    bool truth;
};

class NodeTruth : public NodeReads, public testing::WithParamInterface<TruthRow> {};

TEST_P(NodeTruth, Reads) {
    EXPECT_EQ(root.child(QStringView(GetParam().key)).asBoolean(), GetParam().truth);
}

INSTANTIATE_TEST_SUITE_P(Values, NodeTruth,
                         testing::Values(TruthRow{"True", u"t", true},
                                         TruthRow{"One", u"one", true},
                                         TruthRow{"YesIsNotTrue", u"yes", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Reads beyond what is there give an invalid node, never a crash.
struct BeyondRow {
    const char* name;
    std::function<Node(const Node&)> read;
};

class NodeBeyond : public NodeReads, public testing::WithParamInterface<BeyondRow> {};

TEST_P(NodeBeyond, IsInvalid) {
    EXPECT_FALSE(GetParam().read(root).valid());
}

INSTANTIATE_TEST_SUITE_P(
    Reads, NodeBeyond,
    testing::Values(BeyondRow{"IndexPastTheList",
                              [](const Node& r) { return r.child(4).child(1); }},
                    BeyondRow{"KeyOfAList", [](const Node& r) { return r.child(4).child(u"k"); }},
                    BeyondRow{"NegativeIndex", [](const Node& r) { return r.child(-1); }},
                    BeyondRow{"ChildOfNothing", [](const Node&) { return Node().child(0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonRoot, ReadsIntoTheSharedNodesOrGivesNoRoot) {
    const std::pair<const char*, const char16_t*> cases[] = {
        {R"([{"HW": "415"}, {"b": 1, "a": 2, "b": 3}])", u"[{HW:\"415\"},{b:1,a:2,b:3}]"},
        {R"({"t": true, "n": null, "d": -1.50, "e": {}, "l": []})",
         u"{t:true,n:~,d:-1.50,e:{},l:[]}"},
        {R"("Привет \u0041\n")", u"\"Привет A\n\""},
        {"", u"null"},
        {"[1,]", u"null"},
        {"[1] 2", u"null"},
        {"\"\xC3\"", u"null"},
    };
    JsonRoot document;
    for (const auto& [json, tree] : cases) {
        ASSERT_TRUE(document.parse(QByteArray("[7]")));
        EXPECT_EQ(document.parse(QByteArray(json)), tree != std::u16string_view(u"null"));
        EXPECT_EQ(treeText(document.root()), QString::fromUtf16(tree)) << json;
    }
    // A deep file reads without recursion; a missing one gives no root.
    TestDir dir;
    dir.writeFile(u"deep.set"_s, QByteArray(200000, '[') + QByteArray(200000, ']'));
    const JsonRoot deep(dir.file(u"deep.set"_s));
    Node node = deep.root();
    for (int i = 1; i < 200000; ++i) {
        node = node.child(0);
    }
    EXPECT_EQ(treeText(node), u"[]");
    EXPECT_FALSE(JsonRoot(dir.file(u"none.set"_s)).root().valid());
}

} // namespace
