#pragma once

#include <functional>
#include <string>

#include "tree/base_tree.h"
#include "tree/export_content.h"

namespace rv {

// Normal cell text or the grey static text beside it.
enum class TVSTTextType { ttNormal, ttStatic };
using enum TVSTTextType;

class TCustomVirtualStringTree;

using TVSTGetTextEvent =
    std::function<void(TCustomVirtualStringTree* sender, PVirtualNode node, TColumnIndex column,
                       TVSTTextType textType, std::string& cellText)>;
using TVSTNewTextEvent = std::function<void(TCustomVirtualStringTree* sender, PVirtualNode node,
                                            TColumnIndex column, const std::string& newText)>;
// Called before a text is measured or drawn: the handler may change the canvas's font.
using TVTPaintText =
    std::function<void(TCustomVirtualStringTree* sender, TCanvas& canvas, PVirtualNode node,
                       TColumnIndex column, TVSTTextType textType)>;
// Shortening a text to `textSpace` pixels; a handler that sets Done supplies Result itself.
using TVSTShortenStringEvent = std::function<void(
    TCustomVirtualStringTree* sender, TCanvas& canvas, PVirtualNode node, TColumnIndex column,
    const std::string& text, int textSpace, bool rightToLeft, std::string& result, bool& done)>;

// A tree of texts: every cell's text is asked from the application through OnGetText. Each node
// carries 4 bytes of internal data for the cached width of its main-column text (both text
// margins included; 0 until measured), which scrolling, hit tests and column sizing use without
// asking the application again. Texts too wide for their column end in "...", nodes with
// nsMultiline wrap, and a grey static text may follow the normal one (toShowStaticText).
class TCustomVirtualStringTree : public TBaseVirtualTree {
public:
    explicit TCustomVirtualStringTree(TComponent* owner);
    // Data of this tree on the clipboard are rendered while the texts can still be asked for,
    // and an edit still running is cancelled while the string tree is whole.
    ~TCustomVirtualStringTree() override;
    std::string ClassName() const override { return "TCustomVirtualStringTree"; }

    TStringTreeOptions& TreeOptions() const {
        return static_cast<TStringTreeOptions&>(TBaseVirtualTree::TreeOptions());
    }

    // The text a cell has before OnGetText changes it; a tree starts with kDefaultNodeText.
    static constexpr const char* kDefaultNodeText = "Node";
    const std::string& DefaultText() const { return defaultText_; }
    void SetDefaultText(const std::string& value);

    // The cell text (normal type); the node is initialised first.
    std::string GetText(PVirtualNode node, TColumnIndex column);
    // Gives the cell a new text: OnNewText, then the row is painted again.
    void SetText(PVirtualNode node, TColumnIndex column, const std::string& text);
    // The height a multi-line node needs for its text in the column; other nodes keep theirs.
    virtual int ComputeNodeHeight(TCanvas& canvas, PVirtualNode node, TColumnIndex column);
    // The hint of a node (the control's Hint unless OnGetHint changes it) and its tooltip text.
    std::string GetNodeHint(PVirtualNode node, TColumnIndex column);
    std::string GetNodeTooltip(PVirtualNode node, TColumnIndex column);

    // The height of a line of the tree's font and the width of "...", measured once per font.
    int TextHeight();
    int EllipsisWidth();
    // Forgets every cached text width (they are measured again when needed).
    void ResetCachedWidths();

    // Also forget the node's cached text width and measured height.
    TRect InvalidateNode(PVirtualNode node) override;
    void ReinitNode(PVirtualNode node, bool recursive) override;
    // Editing: also forgets every cached text width.
    void CancelEditNode() override;
    // The editor starts with the font the cell's text is painted in (after OnPaintText), the
    // cell's text, and the text's rectangle (the whole cell for a multi-line node, clear of a
    // horizontal grid line) centred on one line of that font.
    void GetTextInfo(PVirtualNode node, TColumnIndex column, TFont& font, TRect& r,
                     std::string& text) override;
    // Hints: OnGetHint may replace the control's hint; a tooltip shows the cell's text, in the
    // font it is painted in.
    std::string DoGetNodeHint(PVirtualNode node, TColumnIndex column) override;
    std::string DoGetNodeTooltip(PVirtualNode node, TColumnIndex column) override;
    void PrepareTooltipCanvas(TCanvas& canvas, PVirtualNode node, TColumnIndex column) override;
    void WndProc(TMessage& message) override;
    void TreeOptionsChanged(TVTOptionSetKind kind, std::uint32_t before) override;
    // Adds the text tree's stored form: "WideDefaultText" (written only when DefaultText is not
    // kDefaultNodeText) and the old "StringOptions" (only read).
    void PublishProperties(TPropList& list) override;

    TVSTGetTextEvent OnGetText;
    TVSTGetTextEvent OnGetHint;
    TVSTNewTextEvent OnNewText;
    TVTPaintText OnPaintText;
    TVSTShortenStringEvent OnShortenString;

    // 0 when the node answers the typed text: the handler's answer, or without one whether the
    // focused column's text starts with it (1 when not).
    int DoIncrementalSearch(PVirtualNode node, const std::string& text) override;
    std::string ItemText(PVirtualNode node) override {
        return GetText(node, Header().MainColumn());
    }

    // ---- Export (export_*.cpp) ---------------------------------------------------------------
    // The nodes of `source` with their cells as an HTML table (UTF-8); a caption that is not
    // empty becomes the table's caption attribute.
    std::string ContentToHTML(TVSTTextSourceType source, const std::string& caption = {});
    // The same as an RTF table (ASCII: every character written as its UTF-16 units).
    std::string ContentToRTF(TVSTTextSourceType source);
    // The same as lines of cells parted by `separator`, indented by levels of separators (UTF-8,
    // or UTF-16). A cell holding the separator, a double quote or a line break is written in
    // double quotes, its own quotes doubled, so that CSV readers get the cell back whole.
    std::string ContentToText(TVSTTextSourceType source, char32_t separator);
    std::u16string ContentToUnicode(TVSTTextSourceType source, char32_t separator);
    // A global block with a clipboard format's bytes for the nodes of `source`, ended by a NUL
    // character (two bytes for UTF-16): plain text and Unicode text (tab-separated), "CSV",
    // "Rich Text Format" (with or without objects) and "HTML Format". Nil when the export is
    // empty or the format is none of these.
    HGLOBAL ContentToClipboard(TClipFormat format, TVSTTextSourceType source);

protected:
    virtual void DoGetText(PVirtualNode node, TColumnIndex column, TVSTTextType textType,
                           std::string& text);
    virtual void DoNewText(PVirtualNode node, TColumnIndex column, const std::string& text);
    virtual void DoPaintText(PVirtualNode node, TCanvas& canvas, TColumnIndex column,
                             TVSTTextType textType);
    virtual std::string DoShortenString(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                        const std::string& text, int width, bool rightToLeft,
                                        int ellipsisWidth);
    // Without an OnCreateEditor handler: the string tree's own edit box.
    std::shared_ptr<IVTEditLink> DoCreateEditor(PVirtualNode node, TColumnIndex column) override;
    // 2 × TextMargin plus the text's width in the tree's font (after OnPaintText).
    virtual int CalculateTextWidth(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                   const std::string& text);
    int DoGetNodeWidth(PVirtualNode node, TColumnIndex column) override;
    bool ColumnIsEmpty(PVirtualNode node, TColumnIndex column) override;
    void AdjustPaintCellRect(TVTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty) override;
    void PaintNode(TVTPaintInfo& paintInfo) override;
    // The caption chunk: the main column's text (toSaveCaptions) after the base's chunks, and
    // read back through OnNewText.
    void WriteChunks(TStream& stream, PVirtualNode node) override;
    bool ReadChunk(TStream& stream, int version, PVirtualNode node, int chunkType,
                   int chunkSize) override;
    void CopyNodeData(const TBaseVirtualTree& source, PVirtualNode from, PVirtualNode to) override;
    // The text formats for what the base leaves unrendered: the cut or copied nodes for the
    // clipboard, the selection for a drag.
    HRESULT RenderOLEData(const TFormatEtc& format, TStgMedium& medium, bool forClipboard) override;
    // Offset of the cached text width in each node.
    std::uint32_t TextWidthOffset() const { return textWidthOffset_; }

private:
    // An exported cell's font: the canvas gets the tree's font, then OnPaintText may change it;
    // true when it did.
    bool ExportCellFont(TCanvas& canvas, PVirtualNode node, TColumnIndex column);
    std::uint32_t& CachedWidth(PVirtualNode node);
    // The node's text is measured again when next needed, and so is its height.
    void ForgetMeasures(PVirtualNode node);
    void MeasureFont();
    // The tree's font in the canvas, with hot tracking and the selection's text colour.
    void SelectTextFont(const TVTPaintInfo& paintInfo, bool highlight);
    void PaintNormalText(TVTPaintInfo& paintInfo, std::string text);
    void PaintStaticText(const TVTPaintInfo& paintInfo, const std::string& text);

    std::string defaultText_ = kDefaultNodeText;
    std::uint32_t textWidthOffset_;
    // What the cached widths were measured for. OnGetText answers by column index, and both
    // text margins are part of each width, so the widths hold only while these stay.
    struct WidthsMeasuredFor {
        TColumnIndex mainColumn;
        int textMargin;
        bool operator==(const WidthsMeasuredFor&) const = default;
    };
    WidthsMeasuredFor widthsMeasuredFor_;
    bool fontMeasured_ = false;
    int textHeight_ = 0;
    int ellipsisWidth_ = 0;
};

// The string tree with its properties published: the class of the program's trees.
class TVirtualStringTree : public TCustomVirtualStringTree {
public:
    using TCustomVirtualStringTree::TCustomVirtualStringTree;
    std::string ClassName() const override { return "TVirtualStringTree"; }
};

}  // namespace rv
