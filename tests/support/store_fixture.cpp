#include "support/store_fixture.h"


StoreTest::StoreTest() : folder_("lcstore"), path_(folder_.File("links.xml"))
{
    settings_ = std::make_unique<CINI>(folder_.File("linkcairn.exe").c_str());
    store_.SetSettings(settings_.get());
}

void StoreTest::UseStore(const StoreTree& tree, const StoreXmlOptions& options)
{
    ASSERT_TRUE(WriteStore(path_, tree, options));
    store_.ClearSnapshot();
    store_.SetStorePath(path_.c_str());
}

std::string StoreTest::Bytes() const
{
    std::string bytes;
    ReadWholeFile(path_, &bytes);
    return bytes;
}

std::vector<std::string> StoreTest::LogLines() const
{
    return ReadLines(folder_.File("linkcairn_error.log"));
}

StoreTree SmallTree()
{
    ExpectedEntry amp = SampleEntry(1, "Q&A <tips> \"quoted\" 'single'");
    amp.list = "http://example.com/search?q=a&b=<c>";
    amp.comment = "よく使う＆便利";
    return {
        Folder(0, "仕事", {Note(0, "資料", {SampleEntry(0, "表計算ソフトの使い方"), amp}),
                           Note(1, "news", SampleEntries(3, "ニュース"))}),
        Folder(1, "趣味", {Note(0, "旅行")}),
        Folder(2, "zeta"),
    };
}
