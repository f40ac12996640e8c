#include "Meter.h"

#include "widgets/MemDC.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double EPSILON = 0.000001;
constexpr int BAND_COLOURS = 250;
constexpr int TEXT_WEIGHT = 400;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

int Nearest(double value) {
    return static_cast<int>(std::lround(value));
}

int Trunc(double value) {
    return static_cast<int>(value);
}

QPoint PointAt(QPoint pivot, double degrees, double distance) {
    const double angle = Radians(degrees);
    return QPoint(Nearest(pivot.x() + distance * std::cos(angle)),
                  Nearest(pivot.y() - distance * std::sin(angle)));
}

QPoint TruncatedPointAt(QPoint pivot, double degrees, double distance) {
    const double angle = Radians(degrees);
    return QPoint(pivot.x() + Trunc(distance * std::cos(angle)),
                  pivot.y() - Trunc(distance * std::sin(angle)));
}

// Fonts are asked for by cell height (ascent plus descent), the way the
// gauge's sizes are stated; pixel sizes count the em square only.
QFont CellHeightFont(int cellHeight) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(static_cast<QFont::Weight>(TEXT_WEIGHT));
    int size = std::max(1, cellHeight);
    font.setPixelSize(size);
    while (size > 1 && QFontMetrics(font).height() > cellHeight) {
        font.setPixelSize(--size);
    }
    return font;
}

enum class Horizontal { LEFT, CENTRE, RIGHT };
enum class Vertical { TOP, BASELINE, BOTTOM };

// A text reference point and which point of the text it names.
struct TextAnchor {
    QPoint at;
    Horizontal horizontal;
    Vertical vertical;
};

// The cell, ascent to descent, that the text takes when anchored so.
QRect AnchoredTextRect(const QFontMetrics& metrics, const QString& text, const TextAnchor& anchor) {
    const int width = metrics.horizontalAdvance(text);
    int left = anchor.at.x();
    if (anchor.horizontal == Horizontal::CENTRE) {
        left -= width / 2;
    } else if (anchor.horizontal == Horizontal::RIGHT) {
        left -= width;
    }
    int top = anchor.at.y();
    if (anchor.vertical == Vertical::BASELINE) {
        top -= metrics.ascent();
    } else if (anchor.vertical == Vertical::BOTTOM) {
        top -= metrics.height();
    }
    return QRect(left, top, width, metrics.height());
}

void DrawAnchoredText(QPainter& painter, const QString& text, const TextAnchor& anchor) {
    const QFontMetrics metrics(painter.font());
    const QRect cell = AnchoredTextRect(metrics, text, anchor);
    painter.drawText(QPoint(cell.left(), cell.top() + metrics.ascent()), text);
}

// Where a scale label stands next to the outer end q of its tick, by the
// angle theta of that tick; w and h are the label's extent.
TextAnchor LabelAnchor(double theta, QPoint q, int w, int h) {
    using enum Horizontal;
    using enum Vertical;
    if (theta > 190) {
        return {QPoint(q.x(), q.y() - h), LEFT, BOTTOM};
    }
    if (theta > 170) {
        return {QPoint(q.x(), q.y() - h), LEFT, BASELINE};
    }
    if (theta > 135) {
        return {QPoint(q.x() - w, q.y()), RIGHT, BASELINE};
    }
    if (theta > 100) {
        return {QPoint(q.x(), q.y() - h / 2), RIGHT, BASELINE};
    }
    if (theta > 80) {
        return {QPoint(q.x(), q.y() - h), CENTRE, TOP};
    }
    if (theta > 45) {
        return {QPoint(q.x(), q.y() - h / 2), LEFT, BASELINE};
    }
    if (theta > 10) {
        return {QPoint(q.x() + 2, q.y()), LEFT, BASELINE};
    }
    if (theta > -10) {
        return {QPoint(q.x(), q.y() - h), RIGHT, BASELINE};
    }
    return {QPoint(q.x(), q.y() - h), RIGHT, BOTTOM};
}

// Green to yellow over the first half of the band, yellow to red over the second.
QColor BandColour(int index) {
    if (index < BAND_COLOURS / 2) {
        return QColor(255 * index / 125, 255, 0);
    }
    return QColor(255, (BAND_COLOURS - index) * 255 / 125, 0);
}

// Distance of the outer tick ends from the pivot, inside the colour band.
int OuterTickDistance(int radius) {
    return radius - 2 * (radius / 18);
}

long long TickStepHundredths(long long sweep, int majorDivisions, int minorPerMajor) {
    const double step =
        static_cast<double>(sweep) / (static_cast<double>(majorDivisions) * minorPerMajor);
    return static_cast<long long>(step * 100);
}
} // namespace

CMeter::CMeter(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole control, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMeter::SetValue(double value) {
    m_dNeedleValue = value;
    update();
}

void CMeter::SetRange(double minimum, double maximum) {
    if (std::fabs(maximum - m_dRangeMax) > EPSILON) {
        m_dRangeMin = minimum;
        m_dRangeMax = maximum;
        InvalidateFace();
    }
}

void CMeter::SetValueAndRange(double value, double minimum, double maximum) {
    if (std::fabs(maximum - m_dRangeMax) > EPSILON || std::fabs(value - m_dNeedleValue) > EPSILON) {
        m_dNeedleValue = value;
        m_dRangeMin = minimum;
        m_dRangeMax = maximum;
        InvalidateFace();
    }
}

void CMeter::SetNeedleColour(const QColor& colour) {
    m_crNeedle = colour;
    InvalidateFace();
}

void CMeter::EnableColourBand(int enable) {
    m_bColourBand = enable;
    InvalidateFace();
}

void CMeter::SetScaleDigits(int digits) {
    m_nScaleDigits = digits;
    InvalidateFace();
}

void CMeter::SetValueDigits(int digits) {
    m_nValueDigits = digits;
    InvalidateFace();
}

void CMeter::SetUnit(const QString& unit) {
    m_strUnit = unit;
    InvalidateFace();
}

bool CMeter::SetDivisions(int majorDivisions) {
    if (!IsValidScale(m_nStartDeg, m_nEndDeg, majorDivisions, m_nMinorPerMajor)) {
        return false;
    }
    m_nMajorDivisions = majorDivisions;
    InvalidateFace();
    return true;
}

bool CMeter::SetSubdivisions(int minorPerMajor) {
    if (!IsValidScale(m_nStartDeg, m_nEndDeg, m_nMajorDivisions, minorPerMajor)) {
        return false;
    }
    m_nMinorPerMajor = minorPerMajor;
    InvalidateFace();
    return true;
}

bool CMeter::SetAngles(int startDeg, int endDeg) {
    if (!IsValidScale(startDeg, endDeg, m_nMajorDivisions, m_nMinorPerMajor)) {
        return false;
    }
    m_nStartDeg = startDeg;
    m_nEndDeg = endDeg;
    InvalidateFace();
    return true;
}

void CMeter::InvalidateFace() {
    m_faceBitmap = QImage();
    update();
}

// Counts the tick positions exactly as PlaceTicks walks them.
bool CMeter::IsValidScale(int startDeg, int endDeg, int majorDivisions, int minorPerMajor) {
    if (majorDivisions < 1 || minorPerMajor < 1) {
        return false;
    }
    const long long sweep = static_cast<long long>(startDeg) + 360 - endDeg;
    const long long step = TickStepHundredths(sweep, majorDivisions, minorPerMajor);
    if (step < 1) {
        return false;
    }
    const long long positions = sweep * 100 / step + 1;
    return positions <= MAX_TICKS;
}

double CMeter::Sweep() const {
    return static_cast<double>(m_nStartDeg) + 360 - m_nEndDeg;
}

double CMeter::TickStep() const {
    return Sweep() / (m_nMajorDivisions * m_nMinorPerMajor);
}

double CMeter::NeedleAngle() const {
    const double sweep = Sweep();
    const double span = m_dRangeMax - m_dRangeMin;
    // An empty range has no inside: the needle stands at one end or the other.
    double fraction = m_dNeedleValue > m_dRangeMin ? 1.0 : 0.0;
    if (span != 0.0) {
        fraction = (m_dNeedleValue - m_dRangeMin) / span;
    }
    const double theta = m_nStartDeg - sweep * fraction;
    const double lowest = m_nEndDeg - 360.0;
    if (!(theta < m_nStartDeg)) {
        return m_nStartDeg;
    }
    return std::max(theta, lowest);
}

QPoint CMeter::PivotFor(int radius) const {
    return QPoint(width() / 2, height() / 2 + radius / 10);
}

// The usual share of the control, unless a label would then stand outside
// it (as the top ones do in a wide control): then the largest radius that
// keeps every label inside.
int CMeter::FittedRadius() const {
    const int usual = std::max(width(), height()) * 9 / 21;
    if (LabelsFit(usual)) {
        return usual;
    }
    int fits = 0;
    int tooLarge = usual;
    while (tooLarge - fits > 1) {
        const int radius = (fits + tooLarge) / 2;
        (LabelsFit(radius) ? fits : tooLarge) = radius;
    }
    return fits;
}

bool CMeter::LabelsFit(int radius) const {
    const QFontMetrics metrics(CellHeightFont(radius / 6));
    const std::vector<LabelCell> cells = LabelCells(radius, PivotFor(radius), metrics);
    return std::all_of(cells.begin(), cells.end(),
                       [this](const LabelCell& label) { return rect().contains(label.cell); });
}

void CMeter::paintEvent(QPaintEvent* /*event*/) {
    const QRect client = rect();
    if (client.isEmpty()) {
        return;
    }
    QPainter screen(this);
    CMemDC buffer(&screen, client);
    QPainter& painter = buffer.Painter();
    // The face is dropped on every resize, so radius and pivot hold while it lasts.
    if (m_faceBitmap.isNull()) {
        m_nRadius = FittedRadius();
        m_ptPivot = PivotFor(m_nRadius);
        BuildFace(screen.device()->devicePixelRatioF());
    }
    painter.drawImage(QPoint(0, 0), m_faceBitmap);
    DrawNeedle(painter);
    DrawHub(painter);
    DrawValueText(painter);
}

void CMeter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    InvalidateFace();
}

void CMeter::BuildFace(qreal pixelRatio) {
    m_faceBitmap = QImage(size() * pixelRatio, QImage::Format_RGB32);
    m_faceBitmap.setDevicePixelRatio(pixelRatio);
    QPainter painter(&m_faceBitmap);
    DrawFace(painter);
    ++m_nFaceBuilds;
}

void CMeter::DrawFace(QPainter& painter) {
    const int radius = m_nRadius;
    const int bandInset = radius / 18;
    const int inner = radius * 8 / 10;
    m_nHubUnit = radius / 20;
    const int outer = OuterTickDistance(radius);
    PlaceTicks(outer, inner, inner + (outer - inner) / 2);

    const QPalette& colours = palette();
    m_colours = {colours.color(QPalette::Light), colours.color(QPalette::Dark),
                 colours.color(QPalette::Button)};
    painter.fillRect(rect(), m_colours.face);
    DrawInnerArc(painter, inner);
    if (m_bColourBand == 1) {
        DrawColourBand(painter, bandInset);
    }
    m_rgnScale =
        QRegion(QPolygon(QList<QPoint>(m_tickOuter.begin(), m_tickOuter.begin() + m_nTicks)),
                Qt::OddEvenFill);
    const QPoint pivot = m_ptPivot;
    m_rcValueText = QRect(QPoint(pivot.x() - radius / 2, pivot.y() + radius / 5),
                          QPoint(pivot.x() + radius / 2, pivot.y() + radius / 2));
    DrawTicks(painter);
    DrawLabels(painter);
    m_valueFont = CellHeightFont(radius / 5);
}

// Walked in hundredths of a degree so that a fractional step does not
// accumulate error.
long long CMeter::TickHundredths(int index) const {
    const long long step =
        TickStepHundredths(static_cast<long long>(Sweep()), m_nMajorDivisions, m_nMinorPerMajor);
    return m_nStartDeg * 100LL - index * step;
}

// Each tick stands at the whole degree its position truncates to.
double CMeter::TickDegrees(int index) const {
    return static_cast<double>(TickHundredths(index) / 100);
}

void CMeter::PlaceTicks(int outer, int inner, int mid) {
    const long long last = (static_cast<long long>(m_nEndDeg) - 360) * 100;
    int index = 0;
    for (; TickHundredths(index) >= last; ++index) {
        const double degrees = TickDegrees(index);
        const bool major = index % m_nMinorPerMajor == 0;
        m_tickOuter[index] = PointAt(m_ptPivot, degrees, outer);
        m_tickInner[index] = PointAt(m_ptPivot, degrees, major ? inner : mid);
    }
    m_nTicks = index;
}

void CMeter::DrawInnerArc(QPainter& painter, int inner) const {
    const QPoint from = TruncatedPointAt(m_ptPivot, m_nEndDeg - 360.0, inner);
    const QPoint to = TruncatedPointAt(m_ptPivot, m_nStartDeg, inner);
    // The arc runs counter-clockwise between the directions of the two points.
    auto sixteenths = [this](QPoint point) {
        const double degrees = std::atan2(m_ptPivot.y() - point.y(), point.x() - m_ptPivot.x()) *
                               180.0 / std::numbers::pi;
        return Nearest(degrees * 16);
    };
    const int fullTurn = 360 * 16;
    int span = (sixteenths(to) - sixteenths(from)) % fullTurn;
    if (span <= 0) {
        span += fullTurn;
    }
    painter.setPen(QPen(QColor(255, 255, 0), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(m_ptPivot.x() - inner, m_ptPivot.y() - inner, 2.0 * inner, 2.0 * inner),
                    sixteenths(from), span);
}

void CMeter::DrawColourBand(QPainter& painter, int bandInset) const {
    const double step = Sweep() / BAND_COLOURS;
    std::array<QPoint, BAND_COLOURS> outer;
    std::array<QPoint, BAND_COLOURS> inner;
    for (int i = 0; i < BAND_COLOURS; ++i) {
        const double degrees = m_nStartDeg - i * step;
        outer[i] = TruncatedPointAt(m_ptPivot, degrees, m_nRadius - bandInset);
        inner[i] = TruncatedPointAt(m_ptPivot, degrees, 8.0 * m_nRadius / 10);
    }
    // The last step stays empty: the band ends one step short of the scale end.
    for (int i = 0; i + 1 < BAND_COLOURS; ++i) {
        const QColor colour = BandColour(i);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        const QPoint quad[] = {outer[i], outer[i + 1], inner[i + 1], inner[i]};
        painter.drawPolygon(quad, 4);
    }
}

void CMeter::DrawTicks(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 1));
    for (int i = 0; i < m_nTicks; ++i) {
        painter.drawLine(m_tickOuter[i], m_tickInner[i]);
    }
}

// Labels stand at every second major tick, beside its outer end.
std::vector<CMeter::LabelCell> CMeter::LabelCells(int radius, QPoint pivot,
                                                  const QFontMetrics& metrics) const {
    std::vector<LabelCell> cells;
    const double tickStep = TickStep();
    for (int i = 0; i <= m_nMajorDivisions; i += 2) {
        const double theta = m_nStartDeg - i * m_nMinorPerMajor * tickStep;
        const double value = m_dRangeMin + (m_dRangeMax - m_dRangeMin) * i / m_nMajorDivisions;
        const QString text = QString::asprintf("%.*f", m_nScaleDigits, value);
        const QPoint q =
            PointAt(pivot, TickDegrees(i * m_nMinorPerMajor), OuterTickDistance(radius));
        const TextAnchor anchor =
            LabelAnchor(theta, q, metrics.horizontalAdvance(text), metrics.height());
        cells.push_back({text, AnchoredTextRect(metrics, text, anchor)});
    }
    return cells;
}

void CMeter::DrawLabels(QPainter& painter) const {
    painter.setFont(CellHeightFont(m_nRadius / 6));
    painter.setPen(Qt::black);
    const QFontMetrics metrics(painter.font());
    for (const LabelCell& label : LabelCells(m_nRadius, m_ptPivot, metrics)) {
        painter.drawText(QPoint(label.cell.left(), label.cell.top() + metrics.ascent()),
                         label.text);
    }
}

void CMeter::DrawNeedle(QPainter& painter) const {
    const double theta = NeedleAngle();
    const double sine = std::sin(Radians(theta));
    const double cosine = std::cos(Radians(theta));
    const int halfWidth = m_nHubUnit * 10;
    const QPoint pivot = m_ptPivot;
    const QPoint sideA(pivot.x() - Trunc(halfWidth * sine / 8),
                       pivot.y() - Trunc(halfWidth * cosine / 8));
    const QPoint tip = PointAt(pivot, theta, m_nRadius * 95 / 100);
    const QPoint sideB(pivot.x() + Trunc(halfWidth * sine / 8),
                       pivot.y() + Trunc(halfWidth * cosine / 8));
    const QPoint tail(Nearest(pivot.x() - m_nRadius * cosine / 6),
                      Nearest(pivot.y() + m_nRadius * sine / 6));

    painter.setClipRegion(m_rgnScale);
    painter.setPen(QPen(m_crNeedle, 1));
    painter.setBrush(m_crNeedle);
    const QPoint needle[] = {sideA, tip, sideB, tail};
    painter.drawPolygon(needle, 4);
    painter.setClipping(false);

    // The light falls from the upper left whichever way the needle leans.
    const bool leansLeft = theta > 90;
    const QPoint shadowed[] = {tip, leansLeft ? sideA : sideB, tail};
    const QPoint lit[] = {tip, leansLeft ? sideB : sideA, tail};
    painter.setPen(QPen(m_colours.shadow, 2));
    painter.drawPolyline(shadowed, 3);
    painter.setPen(QPen(m_colours.highlight, 1));
    painter.drawPolyline(lit, 3);
}

// Rings from black at the rim to white at the centre.
void CMeter::DrawHub(QPainter& painter) const {
    if (m_nHubUnit == 0) {
        return;
    }
    painter.setBrush(Qt::NoBrush);
    for (int r = 3 * m_nHubUnit / 4; r >= 0; --r) {
        const int grey = Trunc(255.0 - 255.0 * r * 4 / (3.0 * m_nHubUnit));
        painter.setPen(QPen(QColor(grey, grey, grey), 1));
        if (r == 0) {
            painter.drawPoint(m_ptPivot);
        } else {
            painter.drawEllipse(QPointF(m_ptPivot), r, r);
        }
    }
}

void CMeter::DrawValueText(QPainter& painter) const {
    const QString text =
        QString::asprintf("%.*f", m_nValueDigits, m_dNeedleValue) + " " + m_strUnit;
    painter.setFont(m_valueFont);
    const QFontMetrics metrics(m_valueFont);
    const QPoint centre((m_rcValueText.left() + m_rcValueText.right()) / 2,
                        (m_rcValueText.top() + m_rcValueText.bottom()) / 2);
    const int width = metrics.horizontalAdvance(text);
    painter.fillRect(QRect(centre.x() - width / 2, centre.y(), width, metrics.height()),
                     m_colours.face);
    painter.setPen(Qt::black);
    DrawAnchoredText(painter, text, {centre, Horizontal::CENTRE, Vertical::TOP});
}
