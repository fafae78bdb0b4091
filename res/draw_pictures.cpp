// Draws the program's pictures: the 16 x 16 toolbar images, the light bulb of
// the tip dialog and the application icon. The PNG files it writes are kept
// in res/; run it again after changing a drawing:
//   g++ -std=c++20 -fPIC res/draw_pictures.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw
//   QT_QPA_PLATFORM=offscreen /tmp/draw res
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <functional>

namespace {

const QColor kInk(48, 48, 56);
const QColor kPaper(255, 255, 255);
const QColor kViolet(112, 80, 200);
const QColor kVioletDark(70, 44, 150);
const QColor kGreen(40, 150, 60);
const QColor kBlue(40, 96, 190);
const QColor kRed(206, 40, 40);

QString gFolder;

void Save(const QString& name, int w, int h, const std::function<void(QPainter&)>& draw) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    draw(p);
    p.end();
    img.save(gFolder + "/" + name);
}

// A crisp one-pixel outline round the pixel box (x, y, w, h).
void Box(QPainter& p, int x, int y, int w, int h, QColor fill, QColor line) {
    p.fillRect(x, y, w, h, line);
    p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

// A page with its top right corner folded.
void Page(QPainter& p, int x, int y, int w, int h) {
    QPainterPath path;
    path.moveTo(x + 0.5, y + 0.5);
    path.lineTo(x + w - 4.5, y + 0.5);
    path.lineTo(x + w - 0.5, y + 4.5);
    path.lineTo(x + w - 0.5, y + h - 0.5);
    path.lineTo(x + 0.5, y + h - 0.5);
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    QPainterPath fold;
    fold.moveTo(x + w - 4.5, y + 0.5);
    fold.lineTo(x + w - 4.5, y + 4.5);
    fold.lineTo(x + w - 0.5, y + 4.5);
    p.setBrush(QColor(220, 220, 228));
    p.drawPath(fold);
}

void TextLines(QPainter& p, int x, int y, int w, int count, QColor colour = QColor(150, 150, 165)) {
    for (int i = 0; i < count; ++i) p.fillRect(x, y + 2 * i, w - (i % 2) * 2, 1, colour);
}

void Floppy(QPainter& p, int x, int y, int s) {
    Box(p, x, y, s, s, kBlue, QColor(20, 50, 110));
    p.fillRect(x + 3, y + 1, s - 6, s / 3, QColor(210, 214, 222));
    p.fillRect(x + s - 6, y + 2, 2, s / 3 - 2, QColor(60, 70, 90));
    p.fillRect(x + 2, y + s - s / 3 - 1, s - 4, s / 3, kPaper);
}

void Tag(QPainter& p, QPointF at, double scale, QColor fill) {
    QPainterPath path;
    path.moveTo(at + QPointF(0, 4) * scale);
    path.lineTo(at + QPointF(4, 0) * scale);
    path.lineTo(at + QPointF(11, 0) * scale);
    path.lineTo(at + QPointF(11, 8) * scale);
    path.lineTo(at + QPointF(4, 8) * scale);
    path.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kVioletDark, 1));
    p.setBrush(fill);
    p.drawPath(path);
    p.setBrush(kPaper);
    p.drawEllipse(at + QPointF(3.2, 4) * scale, 1.1, 1.1);
    p.setRenderHint(QPainter::Antialiasing, false);
}

void Pencil(QPainter& p, QPointF tip, double length) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(tip);
    p.rotate(-45);
    p.setPen(QPen(QColor(90, 60, 10), 0.8));
    p.setBrush(QColor(240, 190, 40));
    p.drawRect(QRectF(3, -1.6, length - 3, 3.2));
    p.setBrush(QColor(236, 200, 160));
    QPolygonF cone({QPointF(0, 0), QPointF(3, -1.6), QPointF(3, 1.6)});
    p.drawPolygon(cone);
    p.fillRect(QRectF(length - 1.5, -1.6, 1.5, 3.2), QColor(230, 120, 140));
    p.restore();
}

void Plus(QPainter& p, int cx, int cy, QColor colour) {
    p.fillRect(cx - 3, cy - 1, 7, 3, Qt::white);
    p.fillRect(cx - 1, cy - 3, 3, 7, Qt::white);
    p.fillRect(cx - 2, cy, 5, 1, colour);
    p.fillRect(cx, cy - 2, 1, 5, colour);
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor colour, double width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    const QPointF base = to - u * 3.5;
    p.drawLine(from, base);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to, base + n * 3.2, base - n * 3.2}));
    p.restore();
}

void DrawToolbar() {
    Save("tool-new.png", 16, 16, [](QPainter& p) {
        Page(p, 2, 0, 12, 16);
        TextLines(p, 4, 7, 8, 4);
    });
    Save("tool-open.png", 16, 16, [](QPainter& p) {
        const QColor dark(150, 110, 20);
        Box(p, 0, 3, 13, 12, QColor(236, 196, 80), dark);
        p.fillRect(1, 2, 5, 2, dark);
        p.fillRect(2, 3, 3, 1, QColor(236, 196, 80));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(dark, 1));
        p.setBrush(QColor(252, 222, 120));
        p.drawPolygon(QPolygonF({QPointF(0.5, 14.5), QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(12.5, 14.5)}));
        Arrow(p, QPointF(9, 5.5), QPointF(14, 0.5), kGreen, 1.6);
    });
    Save("tool-save.png", 16, 16, [](QPainter& p) { Floppy(p, 1, 1, 14); });
    Save("tool-saveas.png", 16, 16, [](QPainter& p) {
        Floppy(p, 0, 0, 12);
        Pencil(p, QPointF(7, 15), 11);
    });
    Save("tool-savemany.png", 16, 16, [](QPainter& p) {
        Page(p, 5, 0, 10, 12);
        Page(p, 2, 2, 10, 12);
        TextLines(p, 4, 7, 5, 3);
        Floppy(p, 8, 8, 8);
    });
    Save("tool-newrule.png", 16, 16, [](QPainter& p) {
        Tag(p, QPointF(1.5, 5.5), 1.2, QColor(190, 170, 240));
        Plus(p, 12, 3, kGreen);
    });
    Save("tool-copyrule.png", 16, 16, [](QPainter& p) {
        Tag(p, QPointF(0.5, 1.5), 1.0, QColor(220, 210, 248));
        Tag(p, QPointF(4.5, 6.5), 1.0, QColor(170, 145, 235));
    });
    Save("tool-rename.png", 16, 16, [](QPainter& p) {
        Tag(p, QPointF(0.5, 2.5), 1.2, QColor(190, 170, 240));
        Pencil(p, QPointF(5, 15), 12);
    });
    Save("tool-clear.png", 16, 16, [](QPainter& p) {
        Tag(p, QPointF(0.5, 0.5), 1.0, QColor(220, 210, 248));
        p.setRenderHint(QPainter::Antialiasing, true);
        p.translate(9, 10);
        p.rotate(-35);
        p.setPen(QPen(QColor(120, 60, 70), 0.8));
        p.setBrush(QColor(240, 150, 160));
        p.drawRect(QRectF(-6, -2.5, 6, 5));
        p.setBrush(QColor(120, 150, 220));
        p.drawRect(QRectF(0, -2.5, 6, 5));
        p.resetTransform();
        p.fillRect(2, 15, 12, 1, QColor(150, 150, 165));
    });
    Save("tool-delete.png", 16, 16, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(120, 10, 10), 4.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    });
    Save("tool-loadpage.png", 16, 16, [](QPainter& p) {
        Page(p, 4, 0, 12, 16);
        p.fillRect(6, 5, 8, 2, kBlue);
        TextLines(p, 6, 9, 8, 3);
        Arrow(p, QPointF(0, 11.5), QPointF(8, 11.5), kGreen, 2.2);
    });
    Save("tool-refresh.png", 16, 16, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF({QPointF(6.5, 0), QPointF(11, 3.2), QPointF(6.5, 6.6)}));
    });
    Save("tool-changepage.png", 16, 16, [](QPainter& p) {
        Page(p, 0, 0, 8, 10);
        Page(p, 7, 5, 9, 11);
        p.fillRect(9, 8, 5, 2, kBlue);
        // Bent arrows from one page to the other.
        p.fillRect(10, 1, 4, 2, kBlue);
        p.fillRect(12, 1, 2, 3, kBlue);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(10, 4), QPointF(16, 4), QPointF(13, 7)}));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(2, 14, 5, 2, kBlue);
        p.fillRect(2, 13, 2, 3, kBlue);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawPolygon(QPolygonF({QPointF(0, 13), QPointF(6, 13), QPointF(3, 10)}));
    });
    Save("tool-help.png", 16, 16, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(20, 60, 130), 1));
        QRadialGradient g(QPointF(6, 5), 9);
        g.setColorAt(0, QColor(110, 160, 240));
        g.setColorAt(1, kBlue);
        p.setBrush(g);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 3.2, 6, 5.6), -90 * 16, 270 * 16);
        p.drawLine(QPointF(8, 8.6), QPointF(8, 10.4));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.8, 11.4, 2.4, 2.4));
    });
}

void DrawBulb() {
    Save("tip-bulb.png", 40, 48, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        // Rays.
        p.setPen(QPen(QColor(240, 190, 30), 2, Qt::SolidLine, Qt::RoundCap));
        const QPointF c(20, 17);
        for (int a : {-150, -120, -90, -60, -30, 0, 180}) {
            const double r = a * M_PI / 180;
            p.drawLine(c + QPointF(std::cos(r), std::sin(r)) * 15.5, c + QPointF(std::cos(r), std::sin(r)) * 19);
        }
        // Glass.
        QPainterPath glass;
        glass.moveTo(14, 30);
        glass.cubicTo(14, 25, 8, 23, 8, 16);
        glass.cubicTo(8, 9, 13.5, 4.5, 20, 4.5);
        glass.cubicTo(26.5, 4.5, 32, 9, 32, 16);
        glass.cubicTo(32, 23, 26, 25, 26, 30);
        glass.closeSubpath();
        QRadialGradient g(QPointF(16, 12), 18);
        g.setColorAt(0, QColor(255, 255, 230));
        g.setColorAt(0.5, QColor(255, 236, 120));
        g.setColorAt(1, QColor(245, 190, 40));
        p.setPen(QPen(QColor(170, 120, 20), 1.2));
        p.setBrush(g);
        p.drawPath(glass);
        // Filament.
        p.setPen(QPen(QColor(200, 110, 20), 1.1));
        p.setBrush(Qt::NoBrush);
        QPainterPath fil;
        fil.moveTo(17, 30);
        fil.lineTo(17, 20);
        fil.cubicTo(17, 16, 23, 16, 23, 20);
        fil.lineTo(23, 30);
        p.drawPath(fil);
        // Screw base.
        p.setPen(QPen(QColor(80, 80, 90), 1));
        for (int i = 0; i < 4; ++i) {
            p.setBrush(i % 2 ? QColor(150, 150, 160) : QColor(200, 200, 210));
            p.drawRoundedRect(QRectF(13.5, 30.5 + i * 3.2, 13, 3.2), 1.2, 1.2);
        }
        p.setBrush(QColor(70, 70, 80));
        p.drawChord(QRectF(16, 40.5, 8, 5), 180 * 16, 180 * 16);
    });
}

void DrawAppIcon(int size) {
    Save(QString("larkspur-%1.png").arg(size), size, size, [size](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.scale(size / 256.0, size / 256.0);
        // Sheet of paper.
        QLinearGradient bg(0, 0, 0, 256);
        bg.setColorAt(0, QColor(250, 250, 255));
        bg.setColorAt(1, QColor(226, 228, 240));
        p.setPen(QPen(QColor(90, 80, 130), 6));
        p.setBrush(bg);
        p.drawRoundedRect(QRectF(28, 12, 200, 232), 22, 22);
        // Braces and declaration lines.
        p.setPen(QPen(kVioletDark, 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath brace;
        brace.moveTo(78, 46);
        brace.cubicTo(60, 46, 62, 60, 62, 82);
        brace.cubicTo(62, 98, 58, 106, 48, 110);
        brace.cubicTo(58, 114, 62, 122, 62, 138);
        brace.cubicTo(62, 160, 60, 174, 78, 174);
        p.drawPath(brace);
        p.setPen(QPen(QColor(150, 150, 175), 11, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(92, 80), QPointF(140, 80));
        p.drawLine(QPointF(92, 110), QPointF(128, 110));
        p.drawLine(QPointF(92, 140), QPointF(136, 140));
        // The flower spike: a stem with blossoms getting smaller upwards.
        p.setPen(QPen(kGreen, 9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(184, 232), QPointF(184, 40));
        struct Blossom { double x, y, r; };
        const Blossom blossoms[] = {{184, 200, 30}, {160, 160, 25}, {206, 136, 24},
                                    {170, 100, 20}, {198, 74, 16}, {184, 44, 12}};
        for (const Blossom& b : blossoms) {
            for (int k = 0; k < 5; ++k) {
                const double a = (k * 72 - 90) * M_PI / 180;
                QRadialGradient g(QPointF(b.x, b.y), b.r * 1.2);
                g.setColorAt(0, QColor(170, 140, 250));
                g.setColorAt(1, kViolet);
                p.setPen(QPen(kVioletDark, 2.5));
                p.setBrush(g);
                p.drawEllipse(QPointF(b.x + std::cos(a) * b.r * 0.55, b.y + std::sin(a) * b.r * 0.55),
                              b.r * 0.55, b.r * 0.55);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 245, 200));
            p.drawEllipse(QPointF(b.x, b.y), b.r * 0.22, b.r * 0.22);
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    gFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    DrawToolbar();
    DrawBulb();
    for (int size : {16, 32, 48, 64, 128, 256}) DrawAppIcon(size);
    return 0;
}
