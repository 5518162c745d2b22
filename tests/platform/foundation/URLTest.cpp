#include "platform/foundation/URL.h"

#include <gtest/gtest.h>

#include "platform/foundation/UTType.h"

namespace trc::foundation {
namespace {

TEST(URLText, RefusesWhatNoURLCarries) {
    for (const char* bad : {"", "file:///a b.png", "http://x/\"q\"", "a%2", "a%zz", "x#y#z", "caf\xC3\xA9", "{}"}) {
        EXPECT_FALSE(URL::fromString(bad)) << bad;
    }
    for (const char* good : {"file:///a%20b.png", "assets-library://asset/asset.JPG?id=1&ext=JPG", "relative/path",
                             "https://h:8080/p?q=1#f", "x"}) {
        EXPECT_TRUE(URL::fromString(good)) << good;
    }
}

TEST(URLText, ReadsSchemePathAndItsParts) {
    auto url = URL::fromString("HTTPS://host:1/dir/my%20photo.Final.JPG?size=2#top");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "HTTPS");
    EXPECT_FALSE(url->isFileURL());
    EXPECT_EQ(url->path(), "/dir/my photo.Final.JPG");
    EXPECT_EQ(url->lastPathComponent(), "my photo.Final.JPG");
    EXPECT_EQ(url->pathExtension(), "JPG") << "no query in the extension";
    EXPECT_EQ(url->absoluteString(), "HTTPS://host:1/dir/my%20photo.Final.JPG?size=2#top") << "kept as written";
    EXPECT_EQ(url->query(), "size=2");
    EXPECT_EQ(URL::fromString("app://cb?a=%2F?b#c?d")->query(), "a=%2F?b") << "escapes kept, up to the fragment";
    EXPECT_EQ(URL::fromString("app://cb?")->query(), "");
    EXPECT_EQ(URL::fromString("app://cb#x?y")->query(), std::nullopt) << "a '?' in the fragment starts no query";

    EXPECT_EQ(URL::fromString("file:///dir/.hidden")->pathExtension(), "");
    EXPECT_EQ(URL::fromString("file:///dir/")->lastPathComponent(), "dir");
    EXPECT_EQ(URL::fromString("no-scheme/a.txt")->scheme(), "");
    EXPECT_EQ(URL::fromString("file:///a%FF")->path(), "") << "escapes that are no UTF-8 give no path";
}

TEST(URLText, FileURLsEscapeTheirPathAndReadBackTheSame) {
    const URL url = URL::fileURLWithPath("/tmp/a b/100%#?.png");
    EXPECT_EQ(url.absoluteString(), "file:///tmp/a%20b/100%25%23%3F.png");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.path(), "/tmp/a b/100%#?.png");
    EXPECT_EQ(URL::fromString(url.absoluteString()), url);
    EXPECT_EQ(url.appendingPathComponent("x y").path(), "/tmp/a b/100%#?.png/x y");
    EXPECT_EQ(URL::fileURLWithPath("rel/f.txt").path().front(), '/') << "taken from the current folder";
}

TEST(URLText, APathSegmentStaysOneSegmentWhateverItHolds) {
    EXPECT_EQ(URL::pathSegment("app-1_x.y~"), "app-1_x.y~");
    EXPECT_EQ(URL::pathSegment("../../admin/x?y=1#%"), "..%2F..%2Fadmin%2Fx%3Fy%3D1%23%25");
    EXPECT_EQ(URL::pathSegment("a b:@!$"), "a%20b%3A%40%21%24");
    EXPECT_EQ(URL::pathSegment(".."), "%2E%2E");
    EXPECT_EQ(URL::pathSegment("."), "%2E");
    EXPECT_EQ(URL::pathSegment("..."), "%2E%2E%2E");
    EXPECT_EQ(URL::pathSegment(""), "");
}

TEST(URLText, PercentEncodingRoundTripsAndRefusesBrokenEscapes) {
    using A = URL::AllowedCharacters;
    EXPECT_EQ(URL::addingPercentEncoding("file:///a b/c?d=e#f%", A::Query), "file:///a%20b/c?d=e%23f%25");
    EXPECT_EQ(URL::addingPercentEncoding("a?b", A::Path), "a%3Fb");
    EXPECT_EQ(URL::addingPercentEncoding("\xC3\xA9", A::Query), "%C3%A9");
    EXPECT_EQ(URL::addingPercentEncoding("a-1_.~/:@!?=&+ \xC3\xA9", A::Unreserved),
              "a-1_.~%2F%3A%40%21%3F%3D%26%2B%20%C3%A9");
    EXPECT_EQ(URL::removingPercentEncoding("%C3%A9%20x"), std::optional<std::string>("\xC3\xA9 x"));
    EXPECT_FALSE(URL::removingPercentEncoding("%"));
    EXPECT_FALSE(URL::removingPercentEncoding("%4"));
    EXPECT_FALSE(URL::removingPercentEncoding("%G1"));
    EXPECT_FALSE(URL::removingPercentEncoding("%C3")) << "half a character";
    EXPECT_FALSE(URL::removingPercentEncoding("%ED%A0%80")) << "a lone surrogate";
}

TEST(FileTypes, ExtensionsNameTypesAndMIMETypesInAnyCase) {
    EXPECT_EQ(UTType::preferredIdentifier("JPG"), std::optional<std::string>("public.jpeg"));
    EXPECT_EQ(UTType::mimeTypeOfExtension("jpeg"), std::optional<std::string>("image/jpeg"));
    EXPECT_EQ(UTType::mimeTypeOfExtension("Png"), std::optional<std::string>("image/png"));
    EXPECT_EQ(UTType::mimeTypeOfExtension("pdf"), std::optional<std::string>("application/pdf"));
    EXPECT_FALSE(UTType::preferredIdentifier(""));
    EXPECT_FALSE(UTType::preferredIdentifier("no-such-extension"));
    EXPECT_FALSE(UTType::mimeTypeOfExtension("no-such-extension"));
    EXPECT_FALSE(UTType::preferredMIMEType("public.data")) << "data in general has no one MIME type";

    EXPECT_TRUE(UTType::conforms("public.png", "public.png"));
    EXPECT_TRUE(UTType::conforms("", UTType::kData));
    EXPECT_FALSE(UTType::conforms("public.png", "com.adobe.pdf"));
    EXPECT_FALSE(UTType::conforms("", ""));
}

TEST(FileTypes, TheSystemTableAddsWhatTheBuiltInOneLacks) {
    // media-types ships the OpenDocument text type; the built-in table does not know it.
    auto id = UTType::preferredIdentifier("odt");
    if (!id) GTEST_SKIP() << "no system MIME table here";
    EXPECT_EQ(*id, "dyn.mime.application/vnd.oasis.opendocument.text");
    EXPECT_EQ(UTType::preferredMIMEType(*id), std::optional<std::string>("application/vnd.oasis.opendocument.text"));
}

}  // namespace
}  // namespace trc::foundation
