// The two ways the store file is written: the plain document save (compact)
// and the indented write through the SAX reader and the XML writer. Both
// write a temporary file beside the store and replace the store only when
// the write is complete (safe_replace.h).
#include <msxml2.h>
#include <shlwapi.h>

#include "app/com_types.h"
#include "store/indent_handler.h"
#include "store/msxml_ids.h"
#include "store/safe_replace.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

const char kConversionHint[] =
    "指定したURLの文字コード変換に失敗した可能性があります。\n"
    "タイトルを手動による取得でやり直して下さい。";

// Pushes the document through the SAX reader into the XML writer, which
// writes version 1.0, UTF-8, to a new file at path. The handler between
// them writes the indentation (indent_handler.h).
void WriteIndentedFile(IXMLDOMDocument* doc, const char* path)
{
    ComPtr<IStream> stream;
    STORE_CHECK(SHCreateStreamOnFileA(path, STGM_WRITE | STGM_CREATE | STGM_SHARE_DENY_WRITE, stream.Receive()),
                "SHCreateStreamOnFile");
    ComPtr<IMXWriter> writer;
    STORE_CHECK(writer.CreateByProgId(L"MSXML2.MXXMLWriter", kIidMxWriter),
                "create MSXML2.MXXMLWriter");
    Bstr version(L"1.0");
    Bstr encoding(L"UTF-8");
    STORE_CHECK(writer->put_version(version.Get()), "MXXMLWriter version");
    STORE_CHECK(writer->put_encoding(encoding.Get()), "MXXMLWriter encoding");
    // The writer's own indentation differs between Windows and Wine; the
    // handler indents instead.
    STORE_CHECK(writer->put_indent(VARIANT_FALSE), "MXXMLWriter indent");
    {
        Variant output = Variant::Object(stream.Get());
        STORE_CHECK(writer->put_output(output.Get()), "MXXMLWriter output");
    }
    ComPtr<ISAXContentHandler> writerHandler;
    STORE_CHECK(writerHandler.QueryFrom(writer.Get(), kIidSaxContentHandler),
                "MXXMLWriter content handler");
    auto indenter = ComPtr<ISAXContentHandler>::Adopt(IndentingHandler::Create(writerHandler.Get()));

    ComPtr<ISAXXMLReader> reader;
    STORE_CHECK(reader.CreateByProgId(L"MSXML2.SAXXMLReader", kIidSaxXmlReader),
                "create MSXML2.SAXXMLReader");
    STORE_CHECK(reader->putContentHandler(indenter.Get()), "SAXXMLReader content handler");
    Variant input = Variant::Object(doc);
    HRESULT parsed = reader->parse(input.Get());
    reader->putContentHandler(nullptr);
    STORE_CHECK(parsed, "SAXXMLReader parse into MXXMLWriter");
    STORE_CHECK(writer->flush(), "MXXMLWriter flush");
    // Leaving scope releases reader, writer and stream; the file closes.
}

}  // namespace

int CmyXml::SaveIndented(IXMLDOMDocument* doc, HWND owner)
{
    std::string temp = TempPathFor(storePath_);
    try {
        WriteIndentedFile(doc, temp.c_str());
        STORE_CHECK_PLAIN(ReplaceStoreFile(temp.c_str(), storePath_, beforeReplace_), "replace the store file");
        return 1;
    } catch (const StoreFailure& failure) {
        DeleteFileA(temp.c_str());
        if (backupMade_)
            RestoreStore();
        std::string text = FormatFailureReport(failure, storePath_);
        MessageBoxA(owner, text.c_str(), "Error", MB_OK | MB_ICONWARNING);
        MessageBoxA(owner, kConversionHint, "Error", MB_OK | MB_ICONWARNING);
        LogReport(text);
    }
    return 0;
}

void CmyXml::SavePlain(IXMLDOMDocument* doc)
{
    std::string temp = TempPathFor(storePath_);
    Variant target = Variant::String(AnsiToWide(temp.c_str()).c_str());
    HRESULT saved = doc->save(target.Get());
    if (FAILED(saved)) {
        DeleteFileA(temp.c_str());
        RaiseStoreFailure(saved, __LINE__, "save");
    }
    STORE_CHECK_PLAIN(ReplaceStoreFile(temp.c_str(), storePath_, beforeReplace_), "replace the store file");
}
