#include "testmovie.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>


namespace {

constexpr int kTwips = 20;

// Writes bit fields most significant bit first, as movie files pack them.
class BitWriter {
public:
    void bits(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            current_ = uint8_t(current_ << 1 | ((value >> i) & 1));
            if (++used_ == 8)
                flush();
        }
    }
    void signedBits(int32_t value, int count) { bits(uint32_t(value) & ((1u << count) - 1), count); }
    QByteArray finish()
    {
        if (used_ > 0) {
            current_ = uint8_t(current_ << (8 - used_));
            flush();
        }
        return out_;
    }

private:
    void flush()
    {
        out_.append(char(current_));
        current_ = 0;
        used_ = 0;
    }
    QByteArray out_;
    uint8_t current_ = 0;
    int used_ = 0;
};

// Bits needed to hold each of `values` as a signed field.
int signedBitsFor(std::initializer_list<int32_t> values)
{
    int n = 1;
    for (int32_t v : values) {
        while (!(v >= -(1 << (n - 1)) && v < (1 << (n - 1))))
            ++n;
    }
    return n;
}

QByteArray rectBytes(int32_t xMin, int32_t xMax, int32_t yMin, int32_t yMax)
{
    BitWriter w;
    const int n = signedBitsFor({xMin, xMax, yMin, yMax});
    w.bits(uint32_t(n), 5);
    for (int32_t v : {xMin, xMax, yMin, yMax})
        w.signedBits(v, n);
    return w.finish();
}

void appendU16(QByteArray &out, uint16_t v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void appendU32(QByteArray &out, uint32_t v)
{
    appendU16(out, uint16_t(v & 0xffff));
    appendU16(out, uint16_t(v >> 16));
}

void appendRgb(QByteArray &out, const QColor &c)
{
    out.append(char(c.red()));
    out.append(char(c.green()));
    out.append(char(c.blue()));
}

QByteArray tag(int code, const QByteArray &body)
{
    QByteArray out;
    appendU16(out, uint16_t(code << 6 | 0x3f));  // always the long form
    appendU32(out, uint32_t(body.size()));
    return out + body;
}

QByteArray defineRectangleShape(uint16_t id, const QRect &r, const QColor &color)
{
    const int32_t x0 = r.left() * kTwips, y0 = r.top() * kTwips;
    const int32_t w = r.width() * kTwips, h = r.height() * kTwips;
    QByteArray body;
    appendU16(body, id);
    body += rectBytes(x0, x0 + w, y0, y0 + h);
    body.append(char(1));  // one fill style: solid
    body.append(char(0x00));
    appendRgb(body, color);
    body.append(char(0));  // no line styles

    BitWriter w2;
    w2.bits(1, 4);  // fill index bits
    w2.bits(0, 4);  // line index bits
    // Style change: move to the top left corner, fill style 1 on the right.
    w2.bits(0, 1);
    w2.bits(0b00101, 5);  // new styles 0, line 0, fill1 1, fill0 0, move 1
    const int moveBits = signedBitsFor({x0, y0});
    w2.bits(uint32_t(moveBits), 5);
    w2.signedBits(x0, moveBits);
    w2.signedBits(y0, moveBits);
    w2.bits(1, 1);
    // Clockwise round the rectangle with general straight edges.
    const int32_t edges[4][2] = {{w, 0}, {0, h}, {-w, 0}, {0, -h}};
    for (const auto &e : edges) {
        const int n = std::max(2, signedBitsFor({e[0], e[1]}));
        w2.bits(1, 1);  // edge
        w2.bits(1, 1);  // straight
        w2.bits(uint32_t(n - 2), 4);
        w2.bits(1, 1);  // general line
        w2.signedBits(e[0], n);
        w2.signedBits(e[1], n);
    }
    w2.bits(0, 6);  // end of shape
    body += w2.finish();
    return tag(2, body);
}

// Places `id` at depth 1, or puts it in place of what stands there.
QByteArray placeAtDepthOne(uint16_t id, bool replacing = false)
{
    QByteArray body;
    body.append(char(replacing ? 0x07 : 0x06));  // has matrix, has character, moves
    appendU16(body, 1);
    appendU16(body, id);
    body.append(char(0));  // identity matrix: no scale, no rotate, 0 translate bits
    return tag(26, body);
}

// A goto-and-stop action followed by the end of the action list.
QByteArray gotoAndStop(int frame)
{
    QByteArray actions("\x81\x02\x00", 3);
    appendU16(actions, uint16_t(frame));
    return actions + QByteArray(1, '\0');
}

// getURL(url, "_blank"), without the end of the action list.
QByteArray getUrl(const QString &url)
{
    const QByteArray payload = url.toUtf8() + QByteArray("\0_blank\0", 8);
    QByteArray action(1, char(0x83));
    appendU16(action, uint16_t(payload.size()));
    return action + payload;
}

// DefineButton2 `id`: the up picture and hit area are shape 1, the over
// and down pictures shapes 2 and 3.
QByteArray defineButton(uint16_t id, int releaseGoesTo, const QString &releaseUrl, char key, int keyGoesTo)
{
    QByteArray records;
    const struct { uint8_t states; uint16_t shape; } shown[] = {{0x09, 1}, {0x02, 2}, {0x04, 3}};
    for (const auto &record : shown) {
        records.append(char(record.states));
        appendU16(records, record.shape);
        appendU16(records, 1);                  // depth
        records.append(char(0));                // identity matrix
        records.append(char(0));                // no colour transform
    }
    records.append(char(0));
    QByteArray conditions;
    if (releaseGoesTo >= 0) {
        const QByteArray actions = (releaseUrl.isEmpty() ? QByteArray() : getUrl(releaseUrl)) + gotoAndStop(releaseGoesTo);
        appendU16(conditions, key ? uint16_t(4 + actions.size()) : 0);
        appendU16(conditions, 0x0008);  // over and down to over and up
        conditions += actions;
    }
    if (key) {
        appendU16(conditions, 0);
        appendU16(conditions, uint16_t(uint8_t(key) << 9));
        conditions += gotoAndStop(keyGoesTo);
    }
    QByteArray body;
    appendU16(body, id);
    body.append(char(0));  // not a menu
    appendU16(body, conditions.isEmpty() ? 0 : uint16_t(2 + records.size()));
    return tag(34, body + records + conditions);
}

// Shapes 1..n in `colors` and sprite `id` showing one of them per frame.
QByteArray defineColorCyclingSprite(uint16_t id, const QRect &r, const QList<QColor> &colors)
{
    QByteArray out, frames;
    for (int i = 0; i < colors.size(); ++i) {
        out += defineRectangleShape(uint16_t(i + 1), r, colors[i]);
        frames += placeAtDepthOne(uint16_t(i + 1), i > 0) + tag(1, {});
    }
    QByteArray body;
    appendU16(body, id);
    appendU16(body, uint16_t(colors.size()));
    return out + tag(39, body + frames + QByteArray(2, '\0'));
}

// DefineEditText `id`: an empty input field over `r`, in black, with a
// border, bound to no variable, placed at depth 2.
QByteArray inputFieldAtDepthTwo(uint16_t id, const QRect &r)
{
    QByteArray body;
    appendU16(body, id);
    body += rectBytes(r.left() * kTwips, (r.right() + 1) * kTwips, r.top() * kTwips, (r.bottom() + 1) * kTwips);
    body.append(char(0x04));  // has a text colour; editable
    body.append(char(0x08));  // a border
    body.append(QByteArray("\x00\x00\x00\xff", 4));
    body.append(char(0));  // no variable
    QByteArray place;
    place.append(char(0x02));  // has character
    appendU16(place, 2);
    appendU16(place, id);
    return tag(37, body) + tag(26, place);
}

}  // namespace

QByteArray TestMovie::bytes() const
{
    QByteArray body = rectBytes(0, stageWidth * kTwips, 0, stageHeight * kTwips);
    appendU16(body, uint16_t(std::lround(frameRate * 256)));
    appendU16(body, uint16_t(frameCount));

    QByteArray background;
    appendRgb(background, this->background);
    body += tag(9, background);
    if (!rectangle.isEmpty() && button) {
        body += defineRectangleShape(1, rectangle, rectangleColor);
        body += defineRectangleShape(2, rectangle, overColor);
        body += defineRectangleShape(3, rectangle, downColor);
        body += defineButton(4, releaseGoesTo, releaseOpensUrl, keyPress, keyGoesTo);
        body += placeAtDepthOne(4);
    } else if (!rectangle.isEmpty() && !spriteColors.isEmpty()) {
        const uint16_t sprite = uint16_t(spriteColors.size() + 1);
        body += defineColorCyclingSprite(sprite, rectangle, spriteColors);
        body += placeAtDepthOne(sprite);
    } else if (!rectangle.isEmpty()) {
        body += defineRectangleShape(1, rectangle, rectangleColor);
        body += placeAtDepthOne(1);
    }
    if (!inputField.isEmpty())
        body += inputFieldAtDepthTwo(20, inputField);
    for (int frame = 0; frame < frameCount; ++frame) {
        if (frame == 0 && !firstFrameOpensUrl.isEmpty())
            body += tag(12, getUrl(firstFrameOpensUrl) + QByteArray(1, '\0'));
        if (frame == stopOnFrame)
            body += tag(12, QByteArray("\x07\x00", 2));
        body += tag(1, {});
    }
    body += QByteArray(2, '\0');  // End

    QByteArray out("FWS");
    out.append(char(6));
    appendU32(out, uint32_t(8 + body.size()));
    return out + body;
}

QString TestMovie::writeTo(const QString &folder, const QString &name) const
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes()) < 0)
        return {};
    return path;
}
