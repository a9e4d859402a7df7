#include "swf/characters/shaperecords.h"

#include "swf/characters/shapepath.h"

namespace swf {

namespace {

// What one edge costs to hold: the record and its share of the paths made
// from it (a fill on each side and a line).
constexpr size_t kBytesPerEdge = sizeof(ShapeEdge) + 3 * 3 * sizeof(QPainterPath::Element);
constexpr size_t kEdgesPerBooking = 256;

bool Book(MemoryBudget *budget, size_t bytes)
{
    return !budget || budget->reserve(bytes);
}

// The state a record list walks with: pen position and current styles.
class RecordWalker {
public:
    RecordWalker(SwfReader &reader, unsigned fillBits, unsigned lineBits, MemoryBudget *budget)
        : reader_(reader), fillBits_(fillBits), lineBits_(lineBits), budget_(budget) {}

    std::vector<ShapeEdge> run(const NewStylesReader &newStyles)
    {
        while (!reader_.overrun()) {
            const bool isEdge = reader_.flag();
            const bool keepGoing = isEdge ? readEdge() : readStyleChange(newStyles);
            if (!keepGoing)
                break;
        }
        // Give back what the last booking left unused.
        if (budget_)
            budget_->release((kEdgesPerBooking - edges_.size() % kEdgesPerBooking) % kEdgesPerBooking * kBytesPerEdge);
        return std::move(edges_);
    }

private:
    bool readEdge()
    {
        ShapeEdge edge = current_;
        edge.from = QPointF(double(x_), double(y_));
        if (reader_.flag())
            readStraight();
        else
            readCurve(edge);
        edge.to = QPointF(double(x_), double(y_));
        if (reader_.overrun())
            return false;  // a half-read edge is not drawn
        return push(edge);
    }

    void readStraight()
    {
        const unsigned bits = reader_.ub(4) + 2;
        if (reader_.flag()) {
            x_ += reader_.sb(bits);
            y_ += reader_.sb(bits);
        } else if (reader_.flag()) {
            y_ += reader_.sb(bits);
        } else {
            x_ += reader_.sb(bits);
        }
    }

    void readCurve(ShapeEdge &edge)
    {
        const unsigned bits = reader_.ub(4) + 2;
        x_ += reader_.sb(bits);
        y_ += reader_.sb(bits);
        edge.control = QPointF(double(x_), double(y_));
        edge.curved = true;
        x_ += reader_.sb(bits);
        y_ += reader_.sb(bits);
    }

    bool push(const ShapeEdge &edge)
    {
        if (edges_.size() % kEdgesPerBooking == 0 && !Book(budget_, kEdgesPerBooking * kBytesPerEdge))
            return false;
        edges_.push_back(edge);
        return true;
    }

    bool readStyleChange(const NewStylesReader &newStyles)
    {
        const unsigned flags = reader_.ub(5);
        if (flags == 0)
            return false;  // end of shape
        if (flags & 0x01) {
            const unsigned bits = reader_.ub(5);
            x_ = reader_.sb(bits);
            y_ = reader_.sb(bits);
        }
        if (flags & 0x02)
            current_.fill0 = static_cast<uint16_t>(reader_.ub(fillBits_));
        if (flags & 0x04)
            current_.fill1 = static_cast<uint16_t>(reader_.ub(fillBits_));
        if (flags & 0x08)
            current_.line = static_cast<uint16_t>(reader_.ub(lineBits_));
        if (flags & 0x10)
            return startNewStyles(flags, newStyles);
        return !reader_.overrun();
    }

    // Indices given with the new-styles record refer to the new arrays;
    // the ones it leaves out no longer refer to anything.
    bool startNewStyles(unsigned flags, const NewStylesReader &newStyles)
    {
        if (!newStyles || current_.group == UINT16_MAX)
            return false;
        if (!newStyles(reader_, fillBits_, lineBits_) || reader_.overrun())
            return false;
        ++current_.group;
        if (!(flags & 0x02))
            current_.fill0 = 0;
        if (!(flags & 0x04))
            current_.fill1 = 0;
        if (!(flags & 0x08))
            current_.line = 0;
        return true;
    }

    SwfReader &reader_;
    unsigned fillBits_;
    unsigned lineBits_;
    MemoryBudget *budget_;
    // 64 bits: a long run of deltas cannot overflow.
    int64_t x_ = 0;
    int64_t y_ = 0;
    ShapeEdge current_;
    std::vector<ShapeEdge> edges_;
};

size_t ReadStyleCount(SwfReader &reader, bool extended)
{
    size_t count = reader.u8();
    if (count == 0xff && extended)
        count = reader.u16();
    return count;
}

}  // namespace

std::vector<ShapeEdge> ReadShapeRecords(SwfReader &reader, unsigned fillBits, unsigned lineBits,
                                        const NewStylesReader &newStyles, MemoryBudget *budget)
{
    return RecordWalker(reader, fillBits, lineBits, budget).run(newStyles);
}

StyleGroup ReadStyleArrays(SwfReader &reader, int shapeVersion, MemoryBudget *budget)
{
    StyleGroup group;
    const size_t fillCount = ReadStyleCount(reader, shapeVersion >= 2);
    if (!Book(budget, fillCount * sizeof(FillStyle)))
        return group;
    for (size_t i = 0; i < fillCount && !reader.overrun(); ++i)
        group.fills.push_back(ReadFillStyle(reader, shapeVersion));
    const size_t lineCount = ReadStyleCount(reader, true);
    if (!Book(budget, lineCount * sizeof(LineStyle)))
        return group;
    for (size_t i = 0; i < lineCount && !reader.overrun(); ++i)
        group.lines.push_back(ReadLineStyle(reader, shapeVersion));
    return group;
}

ShapeRecords ReadShapeWithStyle(SwfReader &reader, int shapeVersion, MemoryBudget *budget)
{
    ShapeRecords shape;
    auto readGroup = [&](SwfReader &r, unsigned &fillBits, unsigned &lineBits) {
        shape.groups.push_back(ReadStyleArrays(r, shapeVersion, budget));
        fillBits = r.ub(4);
        lineBits = r.ub(4);
        return true;
    };
    unsigned fillBits = 0, lineBits = 0;
    readGroup(reader, fillBits, lineBits);
    if (reader.overrun())
        return shape;
    shape.edges = ReadShapeRecords(reader, fillBits, lineBits, readGroup, budget);
    return shape;
}

void UseLegacyGradientOrder(std::vector<StyleGroup> &groups)
{
    for (StyleGroup &group : groups) {
        for (FillStyle &fill : group.fills)
            fill.gradient.legacyOrder = true;
        for (LineStyle &line : group.lines)
            line.fill.gradient.legacyOrder = true;
    }
}

std::vector<ShapeEdge> ReadShape(SwfReader &reader, MemoryBudget *budget)
{
    const unsigned fillBits = reader.ub(4);
    const unsigned lineBits = reader.ub(4);
    return ReadShapeRecords(reader, fillBits, lineBits, nullptr, budget);
}

QPainterPath GlyphPath(SwfReader &reader)
{
    const std::vector<ShapeEdge> edges = ReadShape(reader);
    std::vector<PathSegment> segments;
    segments.reserve(edges.size());
    for (const ShapeEdge &edge : edges) {
        if (edge.fill1)
            segments.push_back(PathSegment::forward(edge));
        if (edge.fill0)
            segments.push_back(PathSegment::backward(edge));
    }
    QPainterPath path = ChainContours(segments);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

}  // namespace swf
