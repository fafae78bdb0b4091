#include "app/tip_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/settings_store.h"
#include "platform/user_dialogs.h"

namespace larkspur {

namespace {

constexpr const char* kSection = "Tip";
constexpr const char* kCaption = "Larkspur";

// The white area: the bulb at its top left, the heading beside it and the
// tip text (a child label) below.
class TipArea : public QWidget {
public:
    explicit TipArea(QWidget* parent) : QWidget(parent), bulb_(QStringLiteral(":/tip-bulb.png")) {
        setAutoFillBackground(false);
        heading_ = font();
        heading_.setBold(true);
        heading_.setPointSizeF(heading_.pointSizeF() * 1.6);
    }
    int BulbWidth() const { return bulb_.width(); }
    int BulbHeight() const { return bulb_.height(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawPixmap(QPoint(kPad, kPad), bulb_);
        QRect strip(kPad + bulb_.width() + kPad, kPad, width() - bulb_.width() - 3 * kPad, bulb_.height());
        p.setFont(heading_);
        p.setPen(Qt::black);
        p.drawText(strip, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   QString::fromLatin1(CTipDlg::kHeading));
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

public:
    static constexpr int kPad = 8;

private:
    QPixmap bulb_;
    QFont heading_;
};

}  // namespace

CTipDlg::CTipDlg(SettingsStore& settings, UserDialogs& dialogs, const std::string& tipsPath,
                 QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
    setObjectName(QStringLiteral("tipDialog106"));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    // The stored value says whether tips are NOT wanted.
    startup_ = settings_.GetInt(kSection, "StartUp", 0) != 0 ? 0 : 1;
    long position = settings_.GetInt(kSection, "FilePos", 0);

    if (tipsPath.empty() || !file_.Open(tipsPath)) {
        tip_ = kMissingFile;
    } else {
        // A new birth time means a new file: start again at its first tip.
        const std::string stamp = FileTimeStamp(tipsPath);
        if (stamp != settings_.GetString(kSection, "TimeStamp", "")) {
            position = 0;
            settings_.SetString(kSection, "TimeStamp", stamp);
        }
        if (!file_.Seek(position))
            dialogs_.ShowMessage(kTroubleReading, kCaption);
        else
            GetNextTip();
    }

    auto* area = new TipArea(this);
    tipLabel_ = new QLabel(area);
    tipLabel_->setWordWrap(true);
    tipLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipLabel_->setTextFormat(Qt::PlainText);
    tipLabel_->setStyleSheet(QStringLiteral("background: white; color: black;"));
    tipLabel_->setText(TipText());
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->setContentsMargins(TipArea::kPad + area->BulbWidth() + TipArea::kPad,
                                   TipArea::kPad + area->BulbHeight() + 4, TipArea::kPad * 2, TipArea::kPad);
    areaLayout->addWidget(tipLabel_);

    startupBox_ = new QCheckBox(QStringLiteral("&Show Tips on StartUp"), this);
    startupBox_->setChecked(startup_ == 1);
    nextButton_ = new QPushButton(QStringLiteral("&Next Tip"), this);
    closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
    closeButton_->setDefault(true);
    nextButton_->setEnabled(file_.IsOpen());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startupBox_);
    buttons->addStretch(1);
    buttons->addWidget(nextButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
    resize(440, 280);

    connect(nextButton_, &QPushButton::clicked, this, &CTipDlg::NextTip);
    connect(closeButton_, &QPushButton::clicked, this, &CTipDlg::OnClose);
}

CTipDlg::~CTipDlg() {
    if (file_.IsOpen()) settings_.SetInt(kSection, "FilePos", static_cast<int>(file_.Position()));
}

QString CTipDlg::TipText() const {
    QString text = QString::fromStdString(tip_);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) text.chop(1);
    return text;
}

void CTipDlg::GetNextTip() {
    // An empty tip rather than an endless search when the file holds none.
    if (file_.NextTip(tip_) == TipsFile::ReadResult::RewindFailed)
        dialogs_.ShowMessage(kTroubleReading, kCaption);
}

void CTipDlg::NextTip() {
    GetNextTip();
    tipLabel_->setText(TipText());
}

// Only Close records the check box; Escape and the close box leave it.
void CTipDlg::OnClose() {
    startup_ = startupBox_->isChecked() ? 1 : 0;
    settings_.SetInt(kSection, "StartUp", startup_ == 0 ? 1 : 0);
    accept();
}

}  // namespace larkspur
