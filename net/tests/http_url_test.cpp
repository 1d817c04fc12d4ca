#include <gtest/gtest.h>

#include "net/http_reply.h"
#include "net/http_url.h"

namespace rv {
namespace {

TEST(HttpUrl, RelativeReferencesResolveAsTheUrlStandardsExamples) {
    // RFC 3986, section 5.4: every normal and abnormal example (fragments are dropped).
    const std::string base = "http://a/b/c/d;p?q";
    const std::pair<const char*, const char*> examples[] = {
        {"g:h", "g:h"},
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q"},
        {"g#s", "http://a/b/c/g"},
        {"g?y#s", "http://a/b/c/g?y"},
        {";x", "http://a/b/c/;x"},
        {"g;x", "http://a/b/c/g;x"},
        {"", "http://a/b/c/d;p?q"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../", "http://a/"},
        {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"http:g", "http:g"},
    };
    for (const auto& [reference, expected] : examples)
        EXPECT_EQ(ResolveURL(base, reference), expected) << reference;
    EXPECT_EQ(ResolveURL("http://h:81", "next.txt"), "http://h:81/next.txt");
    EXPECT_EQ(ResolveURL("http://h/a/", "HTTP://Other:8/x"), "http://Other:8/x");
}

TEST(HttpUrl, UrlsSplitIntoTheirParts) {
    const auto check = [](const std::string& url, const TUrlParts& expected) {
        const TUrlParts got = ParseURL(url);
        EXPECT_EQ(got.proto, expected.proto) << url;
        EXPECT_EQ(got.user, expected.user) << url;
        EXPECT_EQ(got.password, expected.password) << url;
        EXPECT_EQ(got.host, expected.host) << url;
        EXPECT_EQ(got.port, expected.port) << url;
        EXPECT_EQ(got.path, expected.path) << url;
    };
    check("http://host", {"http", "", "", "host", "", ""});
    check("http://H:8880/dir/prog.cgi?x=1", {"http", "", "", "H", "8880", "/dir/prog.cgi?x=1"});
    check("http://u:p:q@h:1?x/y", {"http", "u", "p:q", "h", "1", "?x/y"});
    check("http://user@h/", {"http", "user", "", "h", "", "/"});
    check("https://h/x", {"https", "", "", "h", "", "/x"});
    check("/just/a/path", {"http", "", "", "", "", "/just/a/path"});
    check("//h:2/p", {"http", "", "", "h", "2", "/p"});
    check("host:3128", {"", "", "", "host", "3128", ""});
    check("", {});
}

TEST(HttpReply, HeaderLinesEndAtCrLfLfOrCrAndWaitForALateLf) {
    THttpReplyBuffer buffer;
    buffer.Append("one\r\ntwo\nthree\rfour\r");
    std::string line;
    std::string_view end;
    std::vector<std::string> lines;
    while (buffer.NextLine(line, end)) lines.push_back(line + "|" + std::string(end));
    EXPECT_EQ(lines, (std::vector<std::string>{"one|\r\n", "two|\n", "three|\r"}));
    buffer.Append("\nfive");
    ASSERT_TRUE(buffer.NextLine(line, end));
    EXPECT_EQ(line, "four");
    EXPECT_EQ(end, "\r\n") << "a CR and its LF in different packets are one line end";
    EXPECT_FALSE(buffer.NextLine(line, end));
    ASSERT_TRUE(buffer.NextLine(line, end, true));
    EXPECT_EQ(line, "five");
    EXPECT_TRUE(buffer.Empty());

    THttpReplyBuffer full;
    full.Append(std::string(20000, 'a'));
    EXPECT_EQ(full.Room(), 0u);
    EXPECT_FALSE(full.NextLine(line, end));
}

TEST(HttpReply, StatusLinesAndContentLengthsAreCheckedNotTrusted) {
    int code = 0;
    std::string reason;
    ASSERT_TRUE(ParseStatusLine("HTTP/1.1 302 Moved here", code, reason));
    EXPECT_EQ(code, 302);
    EXPECT_EQ(reason, "Moved here");
    ASSERT_TRUE(ParseStatusLine("HTTP/1.0 200", code, reason));
    EXPECT_EQ(reason, "");
    for (const char* bad : {"HTTP/1.0 abc OK", "HTTP/1.0 20", "HTTP/1.0 2000 x", "HTTP/1.0", "",
                            "Hello", "http/1.0 200 OK", "HTTP/1.0  200 OK"})
        EXPECT_FALSE(ParseStatusLine(bad, code, reason)) << bad;

    std::int64_t length = 0;
    ASSERT_TRUE(ParseContentLength(" 3000000000 ", length));
    EXPECT_EQ(length, 3000000000LL);
    ASSERT_TRUE(ParseContentLength("999999999999999999", length));
    for (const char* bad : {"", "-1", "12ab", "1 2", "9999999999999999999", "0x10"})
        EXPECT_FALSE(ParseContentLength(bad, length)) << bad;

    std::string first, last;
    ParseContentRange("bytes 0-99/1000", first, last);
    EXPECT_EQ(first, "0");
    EXPECT_EQ(last, "99");
}

}  // namespace
}  // namespace rv
