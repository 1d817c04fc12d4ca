#include "bench/tree/export_bench.h"

#include <QAbstractItemModel>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "bench/tree/grouped_model.h"
#include "tree/string_tree.h"

namespace rv::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kColumns = 6;
constexpr int kGroup = 100;  // a parent and its 99 children
const char* const kCaptions[kColumns] = {"Title", "Year", "Time", "Bitrate", "Mode", "Format"};

// Texts of a node by its number and column, made when asked as the program's views make them;
// names repeat, and some hold characters that CSV and HTML must quote or escape.
class Texts {
public:
    Texts() {
        static const char* const words[] = {"Blue",        "Night",    "Live",        "The",
                                            "Best",        "Of",       "Zlata",       "Symfonie",
                                            "Rock",        "Road",     "Dvořák",      "AC/DC",
                                            "Rock & Roll", "\"Live\"", "Kino, Praha", "<Intro>"};
        std::mt19937 random(5);
        for (int i = 0; i < 10000; ++i)
            names_.push_back(std::string(words[random() % 16]) + " " + words[random() % 16] + " " +
                             std::to_string(random() % 1000));
    }
    std::string Of(int node, int column) const {
        switch (column) {
            case 0:
                return names_[std::size_t(node) % names_.size()];
            case 1:
                return std::to_string(1950 + node % 70);
            case 2:
                return std::to_string(node % 60) + ":" + std::to_string(10 + node % 50);
            case 3:
                return std::to_string(128 + node % 193);
            case 4:
                return node % 3 ? "Joint Stereo" : "Stereo";
            default:
                return node % 2 ? "MPEG 1 Layer III" : "Ogg Vorbis";
        }
    }

private:
    std::vector<std::string> names_;
};

// The reference's model: groups of a parent with its children, six columns, leaves flagged.
class ExportModel : public GroupedModel {
public:
    ExportModel(const Texts& texts, int groups)
        : GroupedModel(groups, kGroup - 1, kColumns, kCaptions), texts_(texts) {}

protected:
    QString Cell(int group, int child, int column) const override {
        return QString::fromStdString(texts_.Of(group * kGroup + child + 1, column));
    }

private:
    const Texts& texts_;
};

// The reference's rows: cells parted by tabs and quoted where needed, or an HTML table row with
// escaped cells.
void AddTextRow(const QAbstractItemModel& model, const QModelIndex& parent, int row, QString& out) {
    for (int c = 0; c < kColumns; ++c) {
        QString cell = model.data(model.index(row, c, parent), Qt::DisplayRole).toString();
        if (cell.contains(u'\t') || cell.contains(u'"') || cell.contains(u'\n') ||
            cell.contains(u'\r'))
            cell = u'"' + cell.replace(u'"', QStringLiteral("\"\"")) + u'"';
        out += cell;
        out += c + 1 < kColumns ? QStringLiteral("\t") : QStringLiteral("\r\n");
    }
}

void AddHtmlRow(const QAbstractItemModel& model, const QModelIndex& parent, int row, QString& out) {
    out += QStringLiteral(" <tr>");
    for (int c = 0; c < kColumns; ++c) {
        out += QStringLiteral("<td>");
        out += model.data(model.index(row, c, parent), Qt::DisplayRole).toString().toHtmlEscaped();
        out += QStringLiteral("</td>");
    }
    out += QStringLiteral("</tr>\r\n");
}

// Every row depth first, in UTF-8 at the end.
template <class AddRow>
QByteArray QtExport(const QAbstractItemModel& model, AddRow addRow, const QString& start,
                    const QString& end) {
    QString out = start;
    for (int r = 0; r < model.rowCount({}); ++r) {
        addRow(model, QModelIndex(), r, out);
        const QModelIndex parent = model.index(r, 0, {});
        for (int child = 0; child < model.rowCount(parent); ++child)
            addRow(model, parent, child, out);
    }
    out += end;
    return out.toUtf8();
}

// One size: our tree and the reference's model of the same nodes, and the times measured.
struct Size {
    Size(const Texts& texts, int nodes) : tree(nullptr), model(texts, nodes / kGroup) {
        tree.SetNodeDataSize(sizeof(int));
        for (const char* caption : kCaptions) tree.Header().Columns().Add().SetText(caption);
        tree.OnGetText = [&texts](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex column,
                                  TVSTTextType, std::string& text) {
            text = texts.Of(*static_cast<const int*>(s->GetNodeData(n)), column);
        };
        tree.BeginUpdate();
        for (int g = 0; g < nodes / kGroup; ++g) {
            const PVirtualNode parent = tree.AddChild(nullptr);
            *static_cast<int*>(tree.GetNodeData(parent)) = g * kGroup;
            for (int c = 1; c < kGroup; ++c)
                *static_cast<int*>(tree.GetNodeData(tree.AddChild(parent))) = g * kGroup + c;
        }
        tree.EndUpdate();
        tree.FullExpand();
    }
    TVirtualStringTree tree;
    ExportModel model;
    // Per round, ms (ours also in processor time); and the sizes of the outputs.
    std::vector<double> text, html, qtText, qtHtml, textCpu, htmlCpu;
    std::size_t textBytes = 0, htmlBytes = 0, qtTextBytes = 0, qtHtmlBytes = 0;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;  // the reference's times with --ours-only
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Wall time in ms; the processor time goes to `cpu` when given. The processor time leaves out
// the time the machine's other work keeps the export waiting for a processor.
template <class Work>
double TimeMs(Work work, std::size_t& bytes, std::vector<double>* cpu = nullptr) {
    const std::clock_t c0 = std::clock();
    const auto t0 = Clock::now();
    bytes = std::size_t(work().size());
    const double wall = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    if (cpu) cpu->push_back(1000.0 * double(std::clock() - c0) / CLOCKS_PER_SEC);
    return wall;
}

void RunRound(Size& s, bool qtFirst, bool oursOnly) {
    auto ours = [&] {
        s.text.push_back(
            TimeMs([&] { return s.tree.ContentToText(tstAll, U'\t'); }, s.textBytes, &s.textCpu));
        s.html.push_back(
            TimeMs([&] { return s.tree.ContentToHTML(tstAll); }, s.htmlBytes, &s.htmlCpu));
    };
    auto qt = [&] {
        s.qtText.push_back(
            TimeMs([&] { return QtExport(s.model, AddTextRow, {}, {}); }, s.qtTextBytes));
        s.qtHtml.push_back(TimeMs(
            [&] {
                return QtExport(s.model, AddHtmlRow, QStringLiteral("<table>\r\n"),
                                QStringLiteral("</table>"));
            },
            s.qtHtmlBytes));
    };
    if (oursOnly) return ours();
    if (qtFirst) qt();
    ours();
    if (!qtFirst) qt();
}

}  // namespace

void RunExportBench(int rounds, bool oursOnly) {
    const Texts texts;
    Size sizes[2] = {Size(texts, 100000), Size(texts, 1000000)};
    for (Size& s : sizes) {
        RunRound(s, false, oursOnly);  // warm-up: every node initialised, the memory touched
        s.text.clear(), s.html.clear(), s.qtText.clear(), s.qtHtml.clear();
        s.textCpu.clear(), s.htmlCpu.clear();
    }
    for (int r = 0; r < rounds; ++r) {
        // Both sizes each round, their order and which of ours and Qt's goes first alternating.
        for (int k = 0; k < 2; ++k) RunRound(sizes[r % 2 ? 1 - k : k], (r + k) % 2, oursOnly);
    }
    // The growth: each round one export of 1,000,000 nodes against ten of 100,000 back to back
    // (which size first alternating), so that both sides take about as long and meet the
    // machine's other work alike; one short export would catch a quiet or a busy moment by
    // chance and tilt the ratio.
    std::vector<double> textGrowth, htmlGrowth, textCpuGrowth, htmlCpuGrowth;
    for (int r = 0; r < rounds; ++r) {
        double text[2] = {}, html[2] = {}, textCpu[2] = {}, htmlCpu[2] = {};
        for (int k = 0; k < 2; ++k) {
            const int size = r % 2 ? 1 - k : k;
            Size& s = sizes[size];
            const int runs = size == 0 ? 10 : 1;
            for (int run = 0; run < runs; ++run) {
                std::vector<double> cpu;
                std::size_t bytes = 0;
                text[size] +=
                    TimeMs([&] { return s.tree.ContentToText(tstAll, U'\t'); }, bytes, &cpu) / runs;
                html[size] +=
                    TimeMs([&] { return s.tree.ContentToHTML(tstAll); }, bytes, &cpu) / runs;
                textCpu[size] += cpu[0] / runs;
                htmlCpu[size] += cpu[1] / runs;
            }
        }
        textGrowth.push_back(text[1] / text[0]);
        htmlGrowth.push_back(html[1] / html[0]);
        textCpuGrowth.push_back(textCpu[1] / textCpu[0]);
        htmlCpuGrowth.push_back(htmlCpu[1] / htmlCpu[0]);
    }
    std::printf(
        "\nexport, %d columns, groups of a parent and %d children, %d paired rounds, warm\n",
        kColumns, kGroup - 1, rounds);
    std::printf("%-16s %9s %9s %9s %9s %8s %8s %8s %8s\n", "", "text ms", "Qt text", "HTML ms",
                "Qt HTML", "text MB", "HTML MB", "text Qt/", "HTML Qt/");
    for (Size& s : sizes) {
        std::vector<double> textRatio, htmlRatio;
        for (std::size_t i = 0; i < s.qtText.size(); ++i) {
            textRatio.push_back(s.qtText[i] / s.text[i]);
            htmlRatio.push_back(s.qtHtml[i] / s.html[i]);
        }
        std::printf("%-16s %9.1f %9.1f %9.1f %9.1f %8.1f %8.1f %8.2f %8.2f\n",
                    (std::to_string(s.tree.TotalCount()) + " nodes").c_str(), Median(s.text),
                    Median(s.qtText), Median(s.html), Median(s.qtHtml), double(s.textBytes) / 1e6,
                    double(s.htmlBytes) / 1e6, textRatio.empty() ? 0 : Median(textRatio),
                    htmlRatio.empty() ? 0 : Median(htmlRatio));
    }
    std::printf(
        "%-16s %9.2f %19.2f   (median of the rounds' time at 1,000,000 nodes / mean of ten at "
        "100,000: linear is 10, the limit 12)\n",
        "growth", Median(textGrowth), Median(htmlGrowth));
    std::printf("%-16s %9.2f %19.2f   (the same in processor time)\n", "growth, cpu",
                Median(textCpuGrowth), Median(htmlCpuGrowth));
    std::printf(
        "Qt/ours: median of paired ratios, above 1: ours is ahead. The reference writes a "
        "plain table, %.1f MB of HTML at 1,000,000 nodes against our %.1f MB.\n",
        double(sizes[1].qtHtmlBytes) / 1e6, double(sizes[1].htmlBytes) / 1e6);
}

}  // namespace rv::bench
