// Renders the program's SVG artwork into PNG files at build time, so that neither the build
// nor the program needs an SVG library. It reads the plain subset that hand-drawn icons use:
// <svg viewBox>, <g>, <path>, <rect>, <circle>, <ellipse> and <polygon> with solid colours and
// the usual fill and stroke attributes. Anything else stops it with an error rather than
// producing a picture that differs from what the SVG shows in a browser.
//
// Usage: ardovin_svgrender <input.svg> <output prefix> <size>...
// writes <output prefix>-<size>.png for each size.

#include <cstdio>
#include <optional>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QSet>
#include <QXmlStreamReader>
#include <stdexcept>
#include <vector>

namespace {

struct Style
{
    std::optional<QColor> fill = QColor(Qt::black);
    std::optional<QColor> stroke;
    qreal strokeWidth = 1;
    qreal opacity = 1;
    qreal fillOpacity = 1;
    qreal strokeOpacity = 1;
    Qt::PenJoinStyle join = Qt::MiterJoin;
    Qt::PenCapStyle cap = Qt::FlatCap;
    Qt::FillRule fillRule = Qt::WindingFill;
};

struct Shape
{
    QPainterPath path;
    Style style;
};

[[noreturn]] void Fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

// Reads the numbers of path data and point lists, where separators may be blanks, commas or
// nothing at all ("1.5.5" is 1.5 and .5, "3-2" is 3 and -2).
class NumberReader
{
public:
    explicit NumberReader(QStringView text) : m_text(text) {}

    void skipSeparators()
    {
        while (m_pos < m_text.size() && (m_text[m_pos].isSpace() || m_text[m_pos] == u','))
            ++m_pos;
    }

    bool atEnd()
    {
        skipSeparators();
        return m_pos >= m_text.size();
    }

    bool atNumber()
    {
        skipSeparators();
        if (m_pos >= m_text.size())
            return false;
        const QChar c = m_text[m_pos];
        return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
    }

    QChar takeCommand()
    {
        skipSeparators();
        return m_text[m_pos++];
    }

    qreal takeNumber()
    {
        if (!atNumber())
            Fail(QStringLiteral("number expected in '%1'").arg(m_text.toString()));
        const qsizetype start = m_pos;
        if (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')
            ++m_pos;
        bool seenPoint = false;
        while (m_pos < m_text.size() &&
               (m_text[m_pos].isDigit() || (m_text[m_pos] == u'.' && !seenPoint))) {
            seenPoint = seenPoint || m_text[m_pos] == u'.';
            ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+'))
                ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                ++m_pos;
        }
        bool ok = false;
        const qreal value = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            Fail(QStringLiteral("bad number in '%1'").arg(m_text.toString()));
        return value;
    }

    QPointF takePoint()
    {
        const qreal x = takeNumber();
        return {x, takeNumber()};
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// Path data with the commands M L H V C S Q T Z, absolute and relative; no arcs.
QPainterPath ParsePathData(const QString& data)
{
    QPainterPath path;
    NumberReader reader(data);
    QPointF current;
    QPointF lastControl;
    QChar previous;
    QChar command;
    while (!reader.atEnd()) {
        if (!reader.atNumber())
            command = reader.takeCommand();
        else if (command.isNull())
            Fail(QStringLiteral("path data must start with a command: '%1'").arg(data));
        const bool relative = command.isLower();
        const QPointF origin = relative ? current : QPointF();
        const auto point = [&] { return origin + reader.takePoint(); };
        const bool afterCubic = QStringLiteral("CcSs").contains(previous);
        const bool afterQuad = QStringLiteral("QqTt").contains(previous);
        const QPointF reflected = 2 * current - lastControl;
        switch (command.toUpper().unicode()) {
        case u'M':
            current = point();
            path.moveTo(current);
            command = relative ? u'l' : u'L'; // further pairs are lines
            break;
        case u'L':
            current = point();
            path.lineTo(current);
            break;
        case u'H':
            current.setX((relative ? current.x() : 0) + reader.takeNumber());
            path.lineTo(current);
            break;
        case u'V':
            current.setY((relative ? current.y() : 0) + reader.takeNumber());
            path.lineTo(current);
            break;
        case u'C': {
            const QPointF c1 = point();
            lastControl = point();
            current = point();
            path.cubicTo(c1, lastControl, current);
            break;
        }
        case u'S': {
            const QPointF c1 = afterCubic ? reflected : current;
            lastControl = point();
            current = point();
            path.cubicTo(c1, lastControl, current);
            break;
        }
        case u'Q':
            lastControl = point();
            current = point();
            path.quadTo(lastControl, current);
            break;
        case u'T':
            lastControl = afterQuad ? reflected : current;
            current = point();
            path.quadTo(lastControl, current);
            break;
        case u'Z':
            path.closeSubpath();
            current = path.currentPosition();
            break;
        default:
            Fail(QStringLiteral("path command '%1' is not supported").arg(command));
        }
        previous = command;
        if (command.toUpper() == u'Z')
            command = QChar(); // a number right after Z is an error
    }
    return path;
}

qreal NumberAttribute(const QXmlStreamAttributes& attributes, const char* name, qreal fallback)
{
    const QStringView text = attributes.value(QLatin1String(name));
    if (text.isEmpty())
        return fallback;
    NumberReader reader(text);
    const qreal value = reader.takeNumber();
    if (!reader.atEnd())
        Fail(QStringLiteral("attribute %1 must be a plain number").arg(QLatin1String(name)));
    return value;
}

std::optional<QColor> PaintAttribute(QStringView text)
{
    if (text == u"none")
        return std::nullopt;
    const QColor color = QColor::fromString(text);
    if (!color.isValid())
        Fail(QStringLiteral("paint '%1' is not a plain colour").arg(text));
    return color;
}

Style ApplyStyle(Style style, const QXmlStreamAttributes& attributes)
{
    static const QSet<QString> unsupported = {
        "style",      "class",     "transform",        "clip-path",
        "mask",       "filter",    "stroke-dasharray", "marker-start",
        "marker-mid", "marker-end"};
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QString name = attribute.qualifiedName().toString();
        const QStringView value = attribute.value();
        if (unsupported.contains(name))
            Fail(QStringLiteral("attribute '%1' is not supported").arg(name));
        if (name == u"fill")
            style.fill = PaintAttribute(value);
        else if (name == u"stroke")
            style.stroke = PaintAttribute(value);
        else if (name == u"fill-rule")
            style.fillRule = value == u"evenodd" ? Qt::OddEvenFill : Qt::WindingFill;
        else if (name == u"stroke-linejoin")
            style.join = value == u"round"   ? Qt::RoundJoin
                         : value == u"bevel" ? Qt::BevelJoin
                                             : Qt::MiterJoin;
        else if (name == u"stroke-linecap")
            style.cap = value == u"round"    ? Qt::RoundCap
                        : value == u"square" ? Qt::SquareCap
                                             : Qt::FlatCap;
    }
    style.strokeWidth = NumberAttribute(attributes, "stroke-width", style.strokeWidth);
    style.opacity *= NumberAttribute(attributes, "opacity", 1);
    style.fillOpacity = NumberAttribute(attributes, "fill-opacity", style.fillOpacity);
    style.strokeOpacity = NumberAttribute(attributes, "stroke-opacity", style.strokeOpacity);
    return style;
}

QPainterPath ShapePath(QStringView element, const QXmlStreamAttributes& attributes)
{
    const auto number = [&](const char* name) { return NumberAttribute(attributes, name, 0); };
    QPainterPath path;
    if (element == u"path") {
        path = ParsePathData(attributes.value(QLatin1String("d")).toString());
    } else if (element == u"rect") {
        const QRectF rect(number("x"), number("y"), number("width"), number("height"));
        const qreal rx = NumberAttribute(attributes, "rx", number("ry"));
        path.addRoundedRect(rect, rx, NumberAttribute(attributes, "ry", rx));
    } else if (element == u"circle") {
        path.addEllipse(QPointF(number("cx"), number("cy")), number("r"), number("r"));
    } else if (element == u"ellipse") {
        path.addEllipse(QPointF(number("cx"), number("cy")), number("rx"), number("ry"));
    } else if (element == u"polygon") {
        NumberReader reader(attributes.value(QLatin1String("points")));
        QPolygonF polygon;
        while (!reader.atEnd())
            polygon << reader.takePoint();
        path.addPolygon(polygon);
        path.closeSubpath();
    } else {
        Fail(QStringLiteral("element <%1> is not supported").arg(element));
    }
    return path;
}

struct Drawing
{
    QRectF viewBox;
    std::vector<Shape> shapes;
};

QRectF ParseViewBox(const QXmlStreamAttributes& attributes)
{
    NumberReader reader(attributes.value(QLatin1String("viewBox")));
    if (reader.atEnd())
        Fail(QStringLiteral("the <svg> element needs a viewBox"));
    const QPointF origin = reader.takePoint();
    const QPointF size = reader.takePoint();
    if (size.x() <= 0 || size.y() <= 0)
        Fail(QStringLiteral("the viewBox must have a size"));
    return {origin, QSizeF(size.x(), size.y())};
}

Drawing ReadDrawing(QIODevice& file)
{
    static const QSet<QString> ignoredElements = {"title", "desc", "metadata"};
    Drawing drawing;
    QXmlStreamReader xml(&file);
    std::vector<Style> styles{Style()};
    int ignoredDepth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (ignoredDepth > 0)
                --ignoredDepth;
            else
                styles.pop_back();
        }
        if (!xml.isStartElement())
            continue;
        const QString name = xml.name().toString();
        if (ignoredDepth > 0 || ignoredElements.contains(name)) {
            ++ignoredDepth;
            continue;
        }
        if (name == u"svg" && drawing.viewBox.isNull())
            drawing.viewBox = ParseViewBox(xml.attributes());
        else if (drawing.viewBox.isNull())
            Fail(QStringLiteral("the document must start with <svg>"));
        styles.push_back(ApplyStyle(styles.back(), xml.attributes()));
        if (name != u"svg" && name != u"g")
            drawing.shapes.push_back({ShapePath(name, xml.attributes()), styles.back()});
    }
    if (xml.hasError())
        Fail(xml.errorString());
    if (drawing.viewBox.isNull())
        Fail(QStringLiteral("no <svg> element"));
    return drawing;
}

QColor WithAlpha(QColor color, qreal opacity)
{
    color.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return color;
}

void Paint(QPainter& painter, const Shape& shape)
{
    QPainterPath path = shape.path;
    path.setFillRule(shape.style.fillRule);
    const Style& style = shape.style;
    if (style.fill)
        painter.fillPath(path, WithAlpha(*style.fill, style.opacity * style.fillOpacity));
    if (style.stroke && style.strokeWidth > 0) {
        QPen pen(WithAlpha(*style.stroke, style.opacity * style.strokeOpacity), style.strokeWidth,
                 Qt::SolidLine, style.cap, style.join);
        painter.strokePath(path, pen);
    }
}

QImage Render(const Drawing& drawing, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / drawing.viewBox.width(), size / drawing.viewBox.height());
    painter.translate(-drawing.viewBox.topLeft());
    for (const Shape& shape : drawing.shapes)
        Paint(painter, shape);
    return image;
}

int Run(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <input.svg> <output prefix> <size>...\n", argv[0]);
        return 2;
    }
    QFile input(QString::fromLocal8Bit(argv[1]));
    if (!input.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read %1").arg(input.fileName()));
    const Drawing drawing = ReadDrawing(input);
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 4096)
            Fail(QStringLiteral("bad size '%1'").arg(QLatin1String(argv[i])));
        const QString output =
            QString::fromLocal8Bit(argv[2]) + u'-' + QString::number(size) + QStringLiteral(".png");
        if (!Render(drawing, size).save(output, "PNG"))
            Fail(QStringLiteral("cannot write %1").arg(output));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argc > 1 ? argv[1] : "", error.what());
        return 1;
    }
}
