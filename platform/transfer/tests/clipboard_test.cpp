#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/transfer/clipboard_format_names.h"
#include "platform/transfer/ole_clipboard.h"
#include "platform/transfer/tests/test_data_object.h"
#include "platform/windows/tests/gui_app.h"

namespace rv {
namespace {

std::string Bytes(IDataObject& data, TClipFormat format) {
    TStgMedium medium;
    if (data.GetData(TFormatEtc{format}, medium) != S_OK) return "<none>";
    std::string bytes(medium.hGlobal->Bytes.begin(), medium.hGlobal->Bytes.end());
    ReleaseStgMedium(medium);
    return bytes;
}

TEST(OleClipboard, OwnDataComesBackAsItselfAndRendersOnlyWhenRead) {
    test::App();
    bool destroyed = false;
    auto data = std::make_shared<test::BytesDataObject>();
    const TClipFormat own = RegisterClipboardFormat("Clipboard Test Data");
    data->bytes = {{CF_TEXT, std::string("hello\0", 6)}, {own, "raw"}};
    data->destroyed = &destroyed;
    ASSERT_EQ(OleSetClipboard(data), S_OK);
    EXPECT_TRUE(OleIsCurrentClipboard(data.get()));
    EXPECT_EQ(data->gets, 0);
    std::shared_ptr<IDataObject> back;
    ASSERT_EQ(OleGetClipboard(back), S_OK);
    EXPECT_EQ(back.get(), data.get());
    // A reader of the toolkit's clipboard gets each format under its media type.
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(mime->formats().contains("text/plain"));
    EXPECT_EQ(mime->data("text/plain"), QByteArray("hello"));
    EXPECT_EQ(mime->data("application/x-lorvix-reelvault-clipboard-test-data"), QByteArray("raw"));
    EXPECT_GT(data->gets, 0);

    // Flushed, the bytes stay and the object goes.
    back.reset();
    data.reset();
    EXPECT_FALSE(destroyed);
    ASSERT_EQ(OleFlushClipboard(), S_OK);
    EXPECT_TRUE(destroyed);
    ASSERT_EQ(OleGetClipboard(back), S_OK);
    EXPECT_EQ(Bytes(*back, CF_TEXT), std::string("hello\0", 6));
    EXPECT_EQ(Bytes(*back, own), "raw");
    EXPECT_EQ(Bytes(*back, CF_UNICODETEXT), "<none>");
    ASSERT_EQ(OleSetClipboard(nullptr), S_OK);
    ASSERT_EQ(OleGetClipboard(back), S_OK);
    EXPECT_EQ(Bytes(*back, CF_TEXT), "<none>");
}

TEST(OleClipboard, AnotherProgramsTextReadsAsBothTextFormats) {
    test::App();
    auto* mime = new QMimeData;
    mime->setData("text/plain;charset=utf-8", QByteArray("Z\xc3\xa9"));
    mime->setData("text/plain", QByteArray("Z"));
    QGuiApplication::clipboard()->setMimeData(mime);
    std::shared_ptr<IDataObject> data;
    ASSERT_EQ(OleGetClipboard(data), S_OK);
    EXPECT_EQ(Bytes(*data, CF_TEXT), std::string("Z\0", 2));
    EXPECT_EQ(Bytes(*data, CF_UNICODETEXT), std::string("Z\0\xe9\0\0\0", 6));
    EXPECT_EQ(data->QueryGetData(TFormatEtc{CF_TEXT, nullptr, DVASPECT_ICON}), DV_E_DVASPECT);
    // What was read is a copy: the clipboard may change meanwhile.
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(Bytes(*data, CF_TEXT), std::string("Z\0", 2));
}

}  // namespace
}  // namespace rv
