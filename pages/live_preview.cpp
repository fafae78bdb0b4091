#include "pages/live_preview.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <algorithm>

#include "css/html_embed.h"
#include "model/text_util.h"
#include "pages/preview_page.h"

namespace larkspur {
namespace {

// Larkspur's style element is the one after the marker comment when the copy
// keeps the page's own styles, and otherwise the copy's only (so last) one.
constexpr const char* kStyleScript = R"((function (text, marker) {
  var style = null;
  var walk = document.createTreeWalker(document, NodeFilter.SHOW_COMMENT);
  for (var n = walk.nextNode(); n && !style; n = walk.nextNode())
    if ('<!--' + n.data + '-->' === marker) style = n.nextElementSibling;
  if (!style) {
    var all = document.getElementsByTagName('style');
    style = all.length ? all[all.length - 1] : null;
  }
  if (!style || style.localName !== 'style') return false;
  style.textContent = text;
  return true;
}).apply(null, %1))";

}  // namespace

LivePreview::LivePreview(CPreviewPage& page, Sheet sheet, QObject* parent)
    : QObject(parent), page_(page), sheet_(std::move(sheet)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &LivePreview::Update);
}

QString LivePreview::StyleScript(const std::string& text) {
    const QJsonArray args{QString::fromStdString(text), QString::fromUtf8(kPreviewMarker.data(),
                                                                           static_cast<qsizetype>(kPreviewMarker.size()))};
    return QString::fromLatin1(kStyleScript).arg(QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact)));
}

void LivePreview::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (enabled)
        Changed();
    else
        timer_.stop();
}

void LivePreview::SetCopyShown(bool shown) {
    copyShown_ = shown;
    timer_.stop();
}

void LivePreview::Changed() {
    if (!enabled_ || !copyShown_ || !page_.HasBrowser() || timer_.isActive()) return;
    // Never restarted by later changes, so steady typing is still shown.
    qint64 wait = 0;
    if (sinceUpdate_.isValid()) wait = std::max<qint64>(0, kDelayMs - sinceUpdate_.elapsed());
    timer_.start(static_cast<int>(wait));
}

void LivePreview::Update() {
    if (!enabled_ || !copyShown_ || !page_.HasBrowser()) return;
    sinceUpdate_.start();
    QPointer<LivePreview> self(this);
    // The sheet file's byte-order mark would become part of its first selector.
    const std::string text = sheet_.text();
    page_.Browser()->RunScript(StyleScript(std::string(WithoutByteOrderMark(text))), [self](const QVariant& found) {
        // No boolean: the script did not run (the page is going away).
        if (!self || found.typeId() != QMetaType::Bool) return;
        if (found.toBool())
            emit self->Updated(true);
        else
            self->Rewrite();
    });
}

void LivePreview::Rewrite() {
    if (!sheet_.rewriteCopy()) return;
    page_.Browser()->ReloadKeepingScroll();
    emit Updated(false);
}

}  // namespace larkspur
