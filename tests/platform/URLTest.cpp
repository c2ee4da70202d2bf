#include "../support/TemporaryFolder.h"
#include "URL.h"
#include "URLSession.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(URL, AcceptsOnlyWellFormedURLTexts)
{
    EXPECT_TRUE(URL::string("https://example.com/a%20b.png?size=2#top"));
    EXPECT_TRUE(URL::string("relative/path"));
    EXPECT_FALSE(URL::string(""));
    EXPECT_FALSE(URL::string("not a url"));
    EXPECT_FALSE(URL::string("https://example.com/%zz"));
    EXPECT_FALSE(URL::string("https://example.com/%4"));
    EXPECT_FALSE(URL::string("https://example.com/\xC3\xA9"));
}

TEST(URL, SplitsSchemeAndDecodedPath)
{
    const auto url = *URL::string("HTTPS://example.com:8080/dir/a%20b.png?size=2#top");
    EXPECT_EQ(url.scheme(), "https");
    EXPECT_FALSE(url.isFileURL());
    EXPECT_EQ(url.path(), "/dir/a b.png");
    EXPECT_EQ(url.lastPathComponent(), "a b.png");
    EXPECT_EQ(URL::string("file:///tmp/x")->path(), "/tmp/x");
    EXPECT_EQ(URL::string("mailto:someone")->path(), "someone");
    EXPECT_EQ(URL::string("relative/path")->scheme(), "");
}

TEST(URL, TakesThePathExtensionFromTheLastComponentAlone)
{
    EXPECT_EQ(URL::string("https://h/dir.d/page.Html?x=a.png#b.php")->pathExtension(), "Html");
    EXPECT_EQ(URL::string("https://h/archive.tar.gz")->pathExtension(), "gz");
    EXPECT_EQ(URL::string("https://h/dir.d/readme")->pathExtension(), "");
    EXPECT_EQ(URL::string("https://h/dir/page.html/")->pathExtension(), "");
    EXPECT_EQ(URL::string("https://h")->pathExtension(), "");
}

TEST(URL, FileURLsRoundTripTheirPaths)
{
    const auto url = URL::fileURL("/tmp/with space/and#hash%.txt");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.absoluteString(), "file:///tmp/with%20space/and%23hash%25.txt");
    EXPECT_EQ(url.path(), "/tmp/with space/and#hash%.txt");
    const auto parsed = URL::string(url.absoluteString());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, url);
}

TEST(URL, AppendsPathComponentsBeforeQuery)
{
    EXPECT_EQ(URL::fileURL("/data").appendingPathComponent("Presets").path(), "/data/Presets");
    EXPECT_EQ(URL::string("file:///data/")->appendingPathComponent("a b").absoluteString(),
              "file:///data/a%20b");
    EXPECT_EQ(URL::string("https://host?q=1")->appendingPathComponent("x").absoluteString(),
              "https://host/x?q=1");
    EXPECT_EQ(URL::fileURL("/data/Presets/").lastPathComponent(), "Presets");
}

TEST(URLSession, ReadsFileURLsAndRefusesOtherSchemesAtOnce)
{
    TemporaryFolder folder;
    const auto file = folder.path() / "content.bin";
    std::ofstream(file, std::ios::binary) << std::string("a\0b", 3);

    const auto loaded = URLSession::shared().data(URL::fileURL(file));
    ASSERT_TRUE(loaded.data);
    EXPECT_EQ(*loaded.data, (Data{'a', 0, 'b'}));
    EXPECT_FALSE(loaded.statusCode);

    const auto missing = URLSession::shared().data(URL::fileURL(folder.path() / "none"));
    EXPECT_FALSE(missing.data);
    EXPECT_NE(missing.errorDescription.find("could not be read"), std::string::npos);
    EXPECT_FALSE(URLSession::shared().data(URL::fileURL(folder.path())).data);

    const auto remote = URLSession::shared().data(*URL::string("https://example.com/x.png"));
    EXPECT_FALSE(remote.data);
    EXPECT_NE(remote.errorDescription.find("https"), std::string::npos);
}
