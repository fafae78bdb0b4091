#include "platform/qt_user_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <algorithm>

#include "controls/copy_to_dlg.h"
#include "controls/new_rule_dlg.h"
#include "controls/page_changes_dlg.h"
#include "controls/rename_rule_dlg.h"
#include "controls/save_as_dlg.h"
#include "controls/text_view_dlg.h"

namespace larkspur {
namespace {


QString CaptionOrTitle(const std::string& caption) {
    return caption.empty() ? QStringLiteral("Larkspur") : QString::fromStdString(caption);
}

}  // namespace

void PreparePlainMessage(QMessageBox& box, const std::string& text) {
    // "No <STYLE> tag", file names with "&" or "<": never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
}

namespace {

Answer Ask(QWidget* parent, const std::string& text, const std::string& caption,
           QMessageBox::StandardButtons buttons, Answer byDefault) {
    QMessageBox box(QMessageBox::Question, CaptionOrTitle(caption), {}, buttons, parent);
    PreparePlainMessage(box, text);
    box.setDefaultButton(byDefault == Answer::Yes  ? QMessageBox::Yes
                         : byDefault == Answer::No ? QMessageBox::No
                                                   : QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

}  // namespace

QString QtFilterFromClassic(const std::string& classic) {
    const QStringList parts = QString::fromStdString(classic).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty()) break;  // the "||" that ends the list
        QStringList patterns;
        for (const QString& raw : parts[i + 1].split(QLatin1Char(';'))) {
            QString pattern = raw.trimmed();
            if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
            if (!pattern.isEmpty() && !patterns.contains(pattern)) patterns << pattern;
        }
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget* QtUserDialogs::Parent() const { return parent_ ? parent_.data() : QApplication::activeWindow(); }

void QtUserDialogs::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Information, CaptionOrTitle(caption), {}, QMessageBox::Ok, Parent());
    PreparePlainMessage(box, text);
    box.exec();
}

Answer QtUserDialogs::AskYesNo(const std::string& text, const std::string& caption, Answer byDefault) {
    return Ask(Parent(), text, caption, QMessageBox::Yes | QMessageBox::No, byDefault);
}

Answer QtUserDialogs::AskYesNoCancel(const std::string& text, const std::string& caption, Answer byDefault) {
    return Ask(Parent(), text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, byDefault);
}

int QtUserDialogs::AskChoice(const std::string& text, const std::string& caption,
                             const std::vector<std::string>& choices, int byDefault) {
    QMessageBox box(QMessageBox::Question, CaptionOrTitle(caption), {}, QMessageBox::NoButton, Parent());
    PreparePlainMessage(box, text);
    std::vector<QPushButton*> buttons;
    for (const std::string& choice : choices)
        buttons.push_back(box.addButton(QString::fromStdString(choice), QMessageBox::AcceptRole));
    if (byDefault >= 0 && byDefault < static_cast<int>(buttons.size()))
        box.setDefaultButton(buttons[static_cast<size_t>(byDefault)]);
    if (!buttons.empty()) box.setEscapeButton(buttons.back());
    box.exec();
    const auto pressed = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return pressed == buttons.end() ? -1 : static_cast<int>(pressed - buttons.begin());
}

void QtUserDialogs::ShowText(const std::string& text, const std::string& caption) {
    CTextViewDlg dialog(QString::fromStdString(text), CaptionOrTitle(caption), Parent());
    dialog.exec();
}

std::optional<std::string> QtUserDialogs::ChooseOpenFile(const std::string& filter) {
    const QString path = QFileDialog::getOpenFileName(Parent(), {}, {}, QtFilterFromClassic(filter));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::vector<std::string> QtUserDialogs::ChooseOpenFiles(const std::string& filter) {
    std::vector<std::string> paths;
    for (const QString& path : QFileDialog::getOpenFileNames(Parent(), {}, {}, QtFilterFromClassic(filter)))
        paths.push_back(path.toStdString());
    return paths;
}

std::optional<std::string> QtUserDialogs::ChooseSaveFile(const std::string& filter,
                                                         const std::string& defaultExtension) {
    QFileDialog dialog(Parent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QtFilterFromClassic(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    QString path = dialog.selectedFiles().constFirst();
    // A native dialog may hand back the name without the extension.
    if (!defaultExtension.empty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + QString::fromStdString(defaultExtension);
    return path.toStdString();
}

std::optional<ColourValue> QtUserDialogs::ChooseColour(ColourValue initial) {
    const QColor start(static_cast<int>(RedOf(initial)), static_cast<int>(GreenOf(initial)),
                       static_cast<int>(BlueOf(initial)));
    const QColor chosen = QColorDialog::getColor(start, Parent());
    if (!chosen.isValid()) return std::nullopt;
    return MakeColour(static_cast<unsigned>(chosen.red()), static_cast<unsigned>(chosen.green()),
                      static_cast<unsigned>(chosen.blue()));
}

std::optional<NewRuleChoice> QtUserDialogs::AskNewRule(const std::string& context) {
    CNewRuleDlg dialog(Parent());
    dialog.SetContext(QString::fromStdString(context));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return NewRuleChoice{dialog.Name().toStdString(), dialog.Kind(), dialog.Inside()};
}

std::optional<std::string> QtUserDialogs::AskRenameRule() {
    CRenameRuleDlg dialog(Parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Name().toStdString();
}

std::optional<int> QtUserDialogs::AskCopyTarget(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) list << QString::fromStdString(name);
    CCopyToDlg dialog(list, Parent());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Selection();
}

std::optional<int> QtUserDialogs::AskSaveAsKind() {
    CSaveAsDlg dialog(Parent());
    dialog.SetChoice(0);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

bool QtUserDialogs::ConfirmPageChanges(const std::vector<PageChangeRow>& pages) {
    CPageChangesDlg dialog(pages, Parent());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace larkspur
