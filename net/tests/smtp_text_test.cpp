// The digests, login answers, reply statuses and message lines of the SMTP client, against the
// examples of their standards and hand-worked values.

#include <gtest/gtest.h>

#include <random>

#include "net/hmac_md5.h"
#include "net/smtp_auth.h"
#include "net/smtp_message.h"
#include "net/smtp_reply.h"
#include "net/smtp_types.h"
#include "platform/text/base64.h"
#include "testsupport/process.h"

namespace rv {
namespace {

std::string Hex(std::string_view key, std::string_view text) {
    return DigestToHex(HmacMD5(key, text));
}

TEST(Md5, MatchesTheStandardsExamples) {
    // RFC 1321, appendix A.5.
    const std::pair<const char*, const char*> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
         "0",
         "57edf4a22be3c955ac49da2e2107b67a"}};
    for (const auto& [text, digest] : suite) EXPECT_EQ(DigestToHex(MD5(text)), digest) << text;

    // RFC 2202, section 2: HMAC-MD5, keys shorter and longer than a block.
    EXPECT_EQ(Hex(std::string(16, '\x0b'), "Hi There"), "9294727a3638bb1c13f48ef8158bfc9d");
    EXPECT_EQ(Hex("Jefe", "what do ya want for nothing?"), "750c783e6ab0b503eaa86e310a5db738");
    EXPECT_EQ(Hex(std::string(16, '\xaa'), std::string(50, '\xdd')),
              "56be34521d144c88dbb8c733f0e8b3f6");
    std::string key25;
    for (char c = 1; c <= 25; ++c) key25 += c;
    EXPECT_EQ(Hex(key25, std::string(50, '\xcd')), "697eaf0aca3a3aea3a75164746ffaa79");
    EXPECT_EQ(Hex(std::string(16, '\x0c'), "Test With Truncation"),
              "56461ef2342edc00f9bab995690efd4c");
    EXPECT_EQ(
        Hex(std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First"),
        "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
    EXPECT_EQ(Hex(std::string(80, '\xaa'),
                  "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data"),
              "6f630fad67cda0ee1fb1f562db3aa53e");

    // RFC 2195, section 2: the challenge as the server sends it, and the client's answer.
    std::string challenge;
    ASSERT_EQ(Base64DecodeTo("PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+", challenge),
              Base64Fault::None);
    EXPECT_EQ(Base64Encode(CramMD5Answer(challenge, "tim", "tanstaaftanstaaf")),
              "dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw");
    // RFC 4616, section 4: no authorization identity, then the user and the password.
    EXPECT_EQ(Base64Encode(PlainAuthMessage("tim", "tanstaaftanstaaf")),
              "AHRpbQB0YW5zdGFhZnRhbnN0YWFm");
}

TEST(Md5, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
    RV_REQUIRE_TOOL("md5sum");
    std::mt19937 random(25);
    std::string bytes(300007, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    const auto reference = test::RunProcess({"md5sum"}, bytes);
    ASSERT_EQ(reference.exitCode, 0);
    TMD5Context context;
    for (std::size_t pos = 0, piece = 1; pos < bytes.size(); pos += piece, piece = piece * 3 % 199)
        context.Update(std::string_view(bytes).substr(pos, piece));
    EXPECT_EQ(DigestToHex(context.Final()), reference.out.substr(0, 32));
    EXPECT_EQ(DigestToHex(context.Final()), "d41d8cd98f00b204e9800998ecf8427e") << "fresh again";
}

TEST(SmtpText, ReplyStatusesAddressesAndDates) {
    EXPECT_EQ(ParseSmtpStatus("250-smtp.test").code, 250);
    EXPECT_TRUE(ParseSmtpStatus("250-smtp.test").continued);
    EXPECT_FALSE(ParseSmtpStatus("  250 OK").continued);
    EXPECT_EQ(ParseSmtpStatus("221").code, 221);
    for (const char* bad :
         {"", "OK", "25", "2500 no", "-250 x", "+250 x", "099 x", "25O x", "250x"})
        EXPECT_EQ(ParseSmtpStatus(bad).code, 0) << bad;

    EXPECT_EQ(SmtpPath("  ann@example.org "), "<ann@example.org>");
    EXPECT_EQ(SmtpPath(" Ann <ann@example.org> "), "Ann <ann@example.org>");

    LocalClock clock;
    clock.Year = 2025, clock.Month = 7, clock.Day = 1, clock.DayOfWeek = 2;
    clock.Hour = 9, clock.Minute = 5, clock.Second = 7;
    EXPECT_EQ(Rfc822Date(clock), "Tue, 1 Jul 2025 09:05:07 -0000") << "zone unknown";
    clock.OffsetKnown = true;
    clock.UtcOffsetMinutes = 120;  // two hours east, summer time included
    EXPECT_EQ(Rfc822Date(clock), "Tue, 1 Jul 2025 09:05:07 +0200");
    clock.UtcOffsetMinutes = -(4 * 60 + 30);
    EXPECT_EQ(Rfc822Date(clock), "Tue, 1 Jul 2025 09:05:07 -0430");
    clock.UtcOffsetMinutes = 0;
    EXPECT_EQ(Rfc822Date(clock), "Tue, 1 Jul 2025 09:05:07 +0000") << "UTC is a known zone";
}

TEST(SmtpText, DataLinesAreStuffedSplitAndNeverCut) {
    std::string out;
    AppendDataLine(out, ".");
    AppendDataLine(out, "..x");
    AppendDataLine(out, "a.b");
    AppendDataLine(out, "");
    EXPECT_EQ(out, "..\r\n...x\r\na.b\r\n\r\n");

    // A line break inside cannot end the data early nor smuggle commands in.
    out.clear();
    AppendDataLine(out, "one\r\n.\r\nMAIL FROM:<x>\nthree\rfour");
    EXPECT_EQ(out, "one\r\n..\r\nMAIL FROM:<x>\r\nthree\r\nfour\r\n");

    out.clear();
    AppendDataLine(out, "." + std::string(kSmtpMaxLineLength - 1, 'x'));
    EXPECT_EQ(out.size(), kSmtpMaxLineLength + 3) << "stuffed, not cut";
    EXPECT_THROW(AppendDataLine(out, std::string(kSmtpMaxLineLength + 1, 'x')), SmtpException);
    EXPECT_THROW(AppendDataLine(out, "short\n" + std::string(kSmtpMaxLineLength + 1, 'x')),
                 SmtpException);
    EXPECT_EQ(LongestLine("ab\r\nabcd\nabc"), 4u);

    EXPECT_EQ(QuotedString(R"(a "b" \c)"), R"("a \"b\" \\c")");
    EXPECT_NO_THROW(CheckNoLineBreak("HdrSubject", "plain text"));
    for (const char* bad : {"x\r\nBcc: y", "x\ny", "x\r"})
        EXPECT_THROW(CheckNoLineBreak("HdrSubject", bad), SmtpException) << bad;
}

}  // namespace
}  // namespace rv
