#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include "platform/RichText.h"

class QMimeData;

namespace corvano::qt {

// Reads what a copy put on the clipboard into the neutral blocks the
// document writer takes: the rich text (HTML) with its paragraphs, headings,
// lists, links, tables and formatting, or else the picture.
RichDocument richDocumentFromHtml(const QString& html);
RichDocument pictureDocument(const QImage& image);
RichDocument richDocumentFromMime(const QMimeData* mime);

// The pictures of the page copied last, by address: the clipboard's markup
// names its pictures only by address, so the copy takes them from the page.
void setPagePictures(QHash<QString, QImage> pictures);

}  // namespace corvano::qt
