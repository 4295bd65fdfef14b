#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/ini_settings.h"
#include "store/xml_store.h"
#include "support/store_expect.h"
#include "support/temp_folder.h"

// A store file in a fresh folder that also serves as the executable's
// folder, so the error log lands there.
class StoreTest : public ::testing::Test {
protected:
    StoreTest();

    // Writes tree to the store file and points the store at it.
    void UseStore(const StoreTree& tree, const StoreXmlOptions& options = {});
    std::string Bytes() const;
    std::vector<std::string> LogLines() const;
    std::string BackupPath() const { return folder_.File("links_old.xml"); }

    TempFolder folder_;
    std::string path_;
    std::unique_ptr<CINI> settings_;
    CmyXml store_;
};

// Three folders with notes and entries, realistic values.
StoreTree SmallTree();
