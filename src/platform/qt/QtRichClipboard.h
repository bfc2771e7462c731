#pragma once

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

}  // namespace corvano::qt
