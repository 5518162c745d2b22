#include "platform/foundation/URLAuthority.h"

#include <gtest/gtest.h>

namespace trc::foundation {
namespace {

using Kind = URLAuthority::HostKind;

TEST(URLAuthority, ReadsUserinfoHostAndPort) {
    auto a = URLAuthority::parse("https://us%40er:pw@Auth.Example.com.:8443/p?q=1#f");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->userinfo, std::optional<std::string>("us%40er:pw"));
    EXPECT_EQ(a->host, "Auth.Example.com.") << "as written; matching folds case and the trailing dot";
    EXPECT_EQ(a->hostKind, Kind::name);
    EXPECT_EQ(a->port, std::optional<std::uint16_t>(8443));

    a = URLAuthority::parse("myapp://callback");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "callback");
    EXPECT_FALSE(a->userinfo);
    EXPECT_FALSE(a->port);

    a = URLAuthority::parse("http://[::ffff:10.0.0.1]:1/");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "::ffff:10.0.0.1");
    EXPECT_EQ(a->hostKind, Kind::ipv6);

    a = URLAuthority::parse("http://10.0.0.255");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->hostKind, Kind::ipv4);
}

TEST(URLAuthority, RefusesWhatHasNoAuthorityOrNoHost) {
    for (const char* bad :
         {"", "example.com", "https:example.com", "https:/example.com", "https:///x", "https://", "https://:80",
          "https://u@", "1https://example.com", "ht tp://example.com", "https://example.com:65535x"}) {
        EXPECT_FALSE(URLAuthority::parse(bad)) << bad;
    }
}

TEST(URLAuthority, TheHostGrammarOfRFC3986) {
    for (char c : std::string("azAZ09-._~!$&'()*+,;=%:[]")) EXPECT_TRUE(URLAuthority::isHostGrammarCharacter(c)) << c;
    for (char c : std::string("\\/@?# \t\"<>^`{|}")) EXPECT_FALSE(URLAuthority::isHostGrammarCharacter(c)) << c;
    EXPECT_FALSE(URLAuthority::isHostGrammarCharacter('\x80'));
}

}  // namespace
}  // namespace trc::foundation
