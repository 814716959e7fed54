// Link types matched by the words a link shows: the words as compared, and the links they sort.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "link/link_words.h"
#include "link_fixture.h"

using namespace quorin;
using namespace quorin::test;

namespace {

using Words = std::vector<std::wstring>;

TEST(ComparableWords, BlanksAreTrimmedAndCollapsedAndCaseIsFolded) {
    EXPECT_EQ(comparableWords(L"  Next \t\r\n Page "), L"next page");
    EXPECT_EQ(comparableWords(L"\u3000次へ\u00A0\u00A0進む\u3000"), L"次へ 進む") << "ideographic and no-break spaces";
    EXPECT_EQ(comparableWords(L"ＮＥＸＴ"), L"ｎｅｘｔ") << "full-width letters fold too";
    EXPECT_EQ(comparableWords(L" \t\r\n\u3000"), L"");
    EXPECT_EQ(comparableWords(L""), L"");
    EXPECT_EQ(comparableWords(nullptr), L"");
}

TEST(ComparableWords, ArrowRunsAtEitherEndAreSetAsideUnlessNothingElseRemains) {
    EXPECT_EQ(comparableWords(L"次へ »"), L"次へ");
    EXPECT_EQ(comparableWords(L"« 前へ"), L"前へ");
    EXPECT_EQ(comparableWords(L"\u2190 Older posts"), L"older posts");
    EXPECT_EQ(comparableWords(L"Newer posts \u2192"), L"newer posts");
    EXPECT_EQ(comparableWords(L"Next>>"), L"next");
    EXPECT_EQ(comparableWords(L"< < Prev"), L"prev") << "a run may hold blanks";
    EXPECT_EQ(comparableWords(L"\u226A 前 \u226B"), L"前") << "both ends";
    EXPECT_EQ(comparableWords(L"\u2039\u203A\uFF1C\uFF1E"), L"\u2039\u203A\uFF1C\uFF1E");
    EXPECT_EQ(comparableWords(L" » "), L"»") << "arrows alone are the words";
    EXPECT_EQ(comparableWords(L"»  »"), L"» »");
    EXPECT_EQ(comparableWords(L"a > b"), L"a > b") << "inside the words an arrow stays";
}

TEST(ComparableWords, AHugeTextIsCutPastTheLongestAlternative) {
    const std::wstring huge = L"» " + std::wstring(1000000, L'x') + L" »";
    const std::wstring words = comparableWords(huge.c_str());
    EXPECT_EQ(words.size(), 80u);
    const std::wstring spaced = L"a" + std::wstring(1000000, L' ') + L"b";
    EXPECT_EQ(comparableWords(spaced.c_str()), L"a b");
}

TEST(WordAlternatives, SplitAtBarsMadeComparableWithoutEmptyOnes) {
    EXPECT_EQ(wordAlternatives(L"次へ|次のページ|次|Next|Next page|»"),
              (Words{L"次へ", L"次のページ", L"次", L"next", L"next page", L"»"}));
    EXPECT_EQ(wordAlternatives(L" Older  Posts |  | 次へ» |"), (Words{L"older posts", L"次へ"}));
    EXPECT_EQ(wordAlternatives(L"|||"), Words{});
    EXPECT_EQ(wordAlternatives(L""), Words{});
    EXPECT_EQ(wordAlternatives(nullptr), Words{});
}

TEST(MatchesWords, WholeWordsEqualToOneAlternative) {
    const Words next = wordAlternatives(L"次へ|Next|Next page|»");
    for (const wchar_t* text : {L"Next", L"NEXT", L" next » ", L"次へ »", L"Next  Page", L"»", L"« »"})
        EXPECT_EQ(matchesWords(next, comparableWords(text)), std::wstring(text) != L"« »") << text;
    for (const wchar_t* text : {L"Next generation", L"The next page", L"次へ進む", L"Nex", L"", L"page"})
        EXPECT_FALSE(matchesWords(next, comparableWords(text))) << text;
    EXPECT_FALSE(matchesWords(wordAlternatives(L"|"), comparableWords(L""))) << "empty words match nothing";
    EXPECT_FALSE(matchesWords(Words{}, comparableWords(L"Next")));
}

class WordsTypes : public LinkFixture {
protected:
    WordsTypes() { addWordsRows(); }

    // How often collect called each method of the page doubles.
    std::map<std::string, int> callsOfCollect(PageBuilder& page) {
        LinkCollection& links = open(page);
        CallFaults::count();
        links.collect();
        CallFaults::stop();
        std::map<std::string, int> calls;
        for (const CallFaults::Call& call : CallFaults::calls()) ++calls[call.method];
        return calls;
    }
    // The calls the two words rows add to collect on the page.
    std::map<std::string, int> wordsCost(PageBuilder& page) {
        const std::map<std::string, int> with = callsOfCollect(page);
        const std::vector<LinkTypeEntry> table = store.LinkType;
        store.LinkType.resize(table.size() - 2);
        const std::map<std::string, int> without = callsOfCollect(page);
        store.LinkType = table;
        std::map<std::string, int> added;
        for (const auto& [method, count] : with)
            if (const auto it = without.find(method); it == without.end() || it->second != count)
                added[method] = count - (it == without.end() ? 0 : it->second);
        for (const auto& [method, count] : without)
            if (!with.count(method)) added[method] = -count;
        return added;
    }
};

using Calls = std::map<std::string, int>;

TEST_F(WordsTypes, AlternativesLetterCaseAndArrowsMatchOnlyWholeWords) {
    PageBuilder page(L"http://server/list/2.html");
    page.anchor(L"3.html", L"Next »");
    page.anchor(L"3.html#top", L"NEXT PAGE");
    page.anchor(L"gen.html", L"Next generation");
    page.anchor(L"4.html", L"次へ");
    page.anchor(L"1.html", L"« 前へ");
    page.anchor(L"1.html#top", L"prev");
    page.anchor(L"ch.html", L"Previous chapter");
    page.anchor(L"5.html", L" » ");
    page.anchor(L"6.html", L"次のページへ");
    LinkCollection& links = collect(page);
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"Next »", L"NEXT PAGE", L"次へ", L" » "}));
    EXPECT_EQ(targets(typeList(L"次(文字)"))[0], L"http://server/list/3.html");
    EXPECT_EQ(texts(typeList(L"前(文字)")), (Texts{L"« 前へ", L"prev"}));
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"Next generation", L"Previous chapter", L"次のページへ"}))
        << "a link that matched a words type is not listed again as a general link";
    EXPECT_TRUE(typeList(L"次").empty());
}

TEST_F(WordsTypes, ImageButtonsByTheirAltAreasByAltAndTheTitleOnlyWhenAllAreEmpty) {
    PageBuilder page(L"http://server/a.html");
    page.inside(page.anchor(L"img.html", L""), L"img").attr(L"alt", L"次のページ").attr(L"title", L"写真");
    page.inside(page.anchor(L"blank.html", L" \r\n "), L"img").attr(L"alt", L"Next");
    page.inside(page.anchor(L"titled.html", L"").attr(L"title", L"Next"), L"img").attr(L"alt", L"");
    page.anchor(L"unread.html", std::nullopt).attr(L"title", L"Next");  // no inner text to be had
    page.inside(page.anchor(L"cover.html", L"").attr(L"title", L"Next"), L"img").attr(L"alt", L"Cover");
    page.anchor(L"page2.html", L"Page 2").attr(L"title", L"Next");
    page.anchor(L"empty.html", L"");
    page.area(L"map-prev.html", L"前へ");
    page.area(L"map-next.html", L"").attr(L"title", L"Next");
    page.area(L"map.html", L"Map").attr(L"title", L"Prev");
    page.area(L"unnamed.html", std::nullopt);
    LinkCollection& links = collect(page);
    EXPECT_EQ(targets(typeList(L"次(文字)")),
              (Texts{L"http://server/img.html", L"http://server/blank.html", L"http://server/titled.html",
                     L"http://server/unread.html", L"http://server/map-next.html"}));
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"次のページ", L"Next", L"Next", L"Next", L"Next"}))
        << "an entry found by an alt or a title shows it";
    EXPECT_EQ(targets(typeList(L"前(文字)")), (Texts{L"http://server/map-prev.html"}));
    EXPECT_EQ(texts(links.generalLinks()), (Texts{L"", L"Page 2", L"", L"Map", L"http://server/unnamed.html"}))
        << "an image's alt or a title counts only where everything before it is empty";
}

TEST_F(WordsTypes, RelatedLinksAreMatchedByBothAndNamedAnchorsAreNoLinks) {
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"b.html", L"次へ »", L"next");
    page.anchor(L"c.html", L"次へ", L"nofollow");
    page.anchor(L"d.html", L"Top", L"nofollow");
    page.link(L"bookmark", L"e.html", L"Next");
    page.inside(page.anchor(L"f.html", L"", L"next"), L"img").attr(L"alt", L"次へ");
    page.anchor(std::nullopt, L"次へ");
    page.anchor(std::nullopt, L"Next", L"next");
    LinkCollection& links = collect(page);
    EXPECT_EQ(targets(typeList(L"次")), (Texts{L"http://server/b.html", L"http://server/f.html", L"<null>"}));
    EXPECT_EQ(texts(typeList(L"次")), (Texts{L"次へ »", L"", L"Next"})) << "a rel type lists the link's own text";
    EXPECT_EQ(targets(typeList(L"次(文字)")),
              (Texts{L"http://server/b.html", L"http://server/c.html", L"http://server/f.html"}))
        << "a link element has no words, an anchor without href is none";
    EXPECT_EQ(texts(typeList(L"次(文字)")), (Texts{L"次へ »", L"次へ", L"次へ"}));
    EXPECT_EQ(texts(links.otherLinks()), (Texts{L"(bookmark)\tNext", L"(nofollow)\tTop"}));
    EXPECT_TRUE(links.generalLinks().empty());
}

TEST_F(WordsTypes, OddRowsMatchNothingAndTheListsKeepTheirLimits) {
    store.LinkType.push_back(wordsType(L"区切り", L"Next"));
    store.LinkType.back().Submenu = kSeparatorSubmenu;
    store.LinkType.push_back(wordsType(L"空", L" | |"));
    store.LinkType.push_back(wordsType(L"未知", L"Next"));
    store.LinkType.back().Which = 3;
    store.LinkEtc.MaxEtcNum = 1;
    store.LinkEtc.MaxUnRelNum = 0;
    PageBuilder page(L"http://server/a.html");
    page.anchor(L"1.html", L"Next");
    page.anchor(L"2.html", L"Next");
    page.anchor(L"3.html", L"");
    LinkCollection& links = collect(page);
    EXPECT_EQ(targets(typeList(L"次(文字)")), (Texts{L"http://server/1.html"}));
    for (const wchar_t* title : {L"区切り", L"空", L"未知"}) EXPECT_TRUE(typeList(title).empty()) << title;
    EXPECT_TRUE(links.generalLinks().empty());
}

TEST_F(WordsTypes, WordsCostNoPageCallsForLinksWithTextAndTheImageLookupOnlyWithout) {
    PageBuilder text(L"http://server/a.html");
    for (int i = 0; i < 3; ++i) text.anchor(L"s.html", L"Section");
    text.area(L"m.html", L"Map");
    EXPECT_EQ(wordsCost(text), Calls{}) << "the text read for the menu is the words";

    PageBuilder image(L"http://server/a.html");
    image.inside(image.anchor(L"n.html", L""), L"img").attr(L"alt", L"Next");
    EXPECT_EQ(wordsCost(image),
              (Calls{{"QueryInterface", 2}, {"getElementsByTagName", 1}, {"item", 1}, {"get_alt", 1}}))
        << "the first image, its alt, and no length asked";

    PageBuilder bare(L"http://server/a.html");
    bare.inside(bare.anchor(L"n.html", L""), L"img");
    bare.area(L"m.html", L"");
    EXPECT_EQ(wordsCost(bare), (Calls{{"QueryInterface", 2}, {"getElementsByTagName", 1}, {"item", 1},
                                      {"get_alt", 1}, {"get_title", 2}}));

    store.LinkEtc.MaxUnRelNum = 0;
    EXPECT_EQ(wordsCost(text), (Calls{{"get_innerText", 3}, {"get_alt", 1}}))
        << "with the general lists full only the words are read, and no address for links that do not match";
}

TEST_F(WordsTypes, EveryPageCallOfTheWordsFailingInTurnEndsSafely) {
    PageBuilder page(L"http://server/a.html");
    ElementDouble& button = page.anchor(L"n.html", L"");
    page.inside(button, L"img").attr(L"alt", L"Next");
    page.area(L"p.html", L"").attr(L"title", L"前へ");
    LinkCollection& links = open(page);
    CallFaults::count();
    links.collect();
    CallFaults::stop();
    const long calls = CallFaults::callCount();
    for (long call = 1; call <= calls; ++call)
        for (CallFaults::Outcome outcome :
             {CallFaults::Outcome::Fail, CallFaults::Outcome::Null, CallFaults::Outcome::Empty}) {
            CallFaults::inject(call, outcome);
            links.collect();
            CallFaults::stop();
            const size_t listed = typeList(L"次(文字)").size() + typeList(L"前(文字)").size() + links.generalLinks().size();
            EXPECT_LE(listed, 2u) << "call " << call;
        }

    button.refuseInterface(IID_IHTMLElement2);
    collect(page);
    EXPECT_TRUE(typeList(L"次(文字)").empty());
    EXPECT_EQ(targets(collection->generalLinks()), (Texts{L"http://server/n.html"})) << "without words a general link";

    PageBuilder noImage(L"http://server/a.html");
    ElementDouble& image = noImage.inside(noImage.anchor(L"n.html", L""), L"img").attr(L"alt", L"Next");
    image.refuseInterface(IID_IHTMLImgElement);
    collect(noImage);
    EXPECT_TRUE(typeList(L"次(文字)").empty());
    EXPECT_EQ(collection->generalLinks().size(), 1u);
}

}  // namespace
