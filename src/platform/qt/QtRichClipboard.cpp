#include "platform/qt/QtRichClipboard.h"

#include <QBuffer>
#include <QFont>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>

namespace corvano::qt {

namespace {

QHash<QString, QImage>& pagePictures() {
    static QHash<QString, QImage> pictures;
    return pictures;
}

bool blank(const RichSpans& spans) {
    for (const RichSpan& s : spans)
        if (s.text.find_first_not_of(" \t\n\r") != std::string::npos) return false;
    return true;
}

// The block's text; its pictures, when asked for, in the order they come.
void appendSpans(const QTextBlock& block, RichSpans& out, std::vector<QImage>* pictures = nullptr) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid()) continue;
        const QTextCharFormat f = frag.charFormat();
        if (pictures && f.isImageFormat()) {
            const auto found = pagePictures().constFind(f.toImageFormat().name());
            if (found != pagePictures().constEnd()) pictures->push_back(*found);
        }
        QString text = frag.text();
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        text.remove(QChar::ObjectReplacementCharacter);
        // The engine writes the blanks beside formatted words as no-break
        // spaces to keep them in its markup; the page's text has blanks there.
        text.replace(QChar::Nbsp, QLatin1Char(' '));
        if (text.isEmpty()) continue;
        RichSpan s = RichSpan::plain(text.toStdString());
        s.bold = f.fontWeight() >= QFont::DemiBold;
        s.italic = f.fontItalic();
        if (f.isAnchor() && !f.anchorHref().isEmpty()) {
            s.link = f.anchorHref().toStdString();
        } else {
            s.underline = f.fontUnderline();
        }
        out.push_back(std::move(s));
    }
}

// Everything inside a frame as one run of text, blocks on lines of their own.
void appendFrameText(QTextFrame* frame, RichSpans& out) {
    bool first = true;
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (!first) out.push_back(RichSpan::plain("\n"));
        first = false;
        if (QTextFrame* child = it.currentFrame())
            appendFrameText(child, out);
        else
            appendSpans(it.currentBlock(), out);
    }
}

void addTable(QTextTable* table, RichDocument& doc) {
    RichBlock b;
    b.kind = RichBlockKind::Table;
    for (int r = 0; r < table->rows(); ++r) {
        std::vector<RichSpans> row;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (!cell.isValid() || cell.row() != r || cell.column() != c) continue;  // covered by a span
            RichSpans spans;
            bool first = true;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (!first) spans.push_back(RichSpan::plain("\n"));
                first = false;
                if (QTextFrame* child = it.currentFrame())
                    appendFrameText(child, spans);
                else
                    appendSpans(it.currentBlock(), spans);
            }
            row.push_back(std::move(spans));
        }
        bool empty = true;
        for (const auto& cell : row) empty = empty && blank(cell);
        if (!empty) b.rows.push_back(std::move(row));
    }
    if (!b.rows.empty()) doc.blocks.push_back(std::move(b));
}

void addPictures(const std::vector<QImage>& pictures, RichDocument& doc) {
    for (const QImage& image : pictures) {
        RichDocument one = pictureDocument(image);
        for (RichBlock& b : one.blocks) doc.blocks.push_back(std::move(b));
    }
}

void addBlock(const QTextBlock& block, RichDocument& doc) {
    RichBlock b;
    std::vector<QImage> pictures;
    appendSpans(block, b.spans, &pictures);
    if (blank(b.spans)) {
        addPictures(pictures, doc);
        return;
    }
    const QTextBlockFormat f = block.blockFormat();
    if (QTextList* list = block.textList()) {
        b.kind = RichBlockKind::ListItem;
        const QTextListFormat lf = list->format();
        b.level = std::max(1, lf.indent());
        b.numbered = lf.style() <= QTextListFormat::ListDecimal;
        b.number = list->itemNumber(block) + 1;
    } else if (f.headingLevel() > 0) {
        b.kind = RichBlockKind::Heading;
        b.level = f.headingLevel();
    }
    doc.blocks.push_back(std::move(b));
    addPictures(pictures, doc);
}

void walk(QTextFrame* frame, RichDocument& doc) {
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(child))
                addTable(table, doc);
            else
                walk(child, doc);
        } else {
            addBlock(it.currentBlock(), doc);
        }
    }
}

}  // namespace

RichDocument richDocumentFromHtml(const QString& html) {
    QTextDocument text;
    text.setHtml(html);
    RichDocument doc;
    walk(text.rootFrame(), doc);
    return doc;
}

RichDocument pictureDocument(const QImage& image) {
    RichDocument doc;
    if (image.isNull()) return doc;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return doc;
    RichBlock b;
    b.kind = RichBlockKind::Picture;
    b.png.assign(png.constData(), static_cast<size_t>(png.size()));
    b.pixelWidth = image.width();
    b.pixelHeight = image.height();
    doc.blocks.push_back(std::move(b));
    return doc;
}

void setPagePictures(QHash<QString, QImage> pictures) { pagePictures() = std::move(pictures); }

RichDocument richDocumentFromMime(const QMimeData* mime) {
    RichDocument doc;
    if (!mime) return doc;
    if (mime->hasHtml()) doc = richDocumentFromHtml(mime->html());
    if (doc.empty() && mime->hasImage()) doc = pictureDocument(qvariant_cast<QImage>(mime->imageData()));
    return doc;
}

}  // namespace corvano::qt
