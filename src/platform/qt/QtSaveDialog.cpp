#include "platform/qt/QtSaveDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/qt/QtPageDialogs.h"

namespace corvano::qt {

void askSaveFileName(const std::string& title, const std::string& filter, const std::string& proposedName,
                     std::function<void(std::optional<std::string>)> answer) {
    // "Microsoft Word (*.doc)|*.doc": Qt takes the description with its pattern in brackets.
    const QString f = QString::fromStdString(filter);
    const qsizetype bar = f.indexOf(QLatin1Char('|'));
    const QString description = bar < 0 ? f : f.left(bar);
    const QString pattern = bar < 0 ? QString() : f.mid(bar + 1);
    QString nameFilter = description;
    if (!pattern.isEmpty() && !description.contains(pattern)) nameFilter += QStringLiteral(" (%1)").arg(pattern);
    const QString suffix = pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2) : QString();

    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
    auto* dialog = new QFileDialog(nullptr, QString::fromStdString(title),
                                   dir + QLatin1Char('/') + QString::fromStdString(proposedName));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setNameFilter(nameFilter);
    if (!suffix.isEmpty()) dialog->setDefaultSuffix(suffix);
    dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    pagedialogs::openDialog(dialog, [dialog, answer](int result) {
        if (!answer) return;
        if (result != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return answer(std::nullopt);
        answer(dialog->selectedFiles().first().toStdString());
    });
}

}  // namespace corvano::qt
