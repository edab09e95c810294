#pragma once

#include <QPaintEngine>
#include <QPrintEngine>
#include <QPrinter>

// A print engine that takes every page and draws nothing, and fails where it is told to, the
// way a print system can: a call that returns false, or a call that succeeds and leaves the
// printer in its error state (a spooler that turns the job down).
class FakePrintEngine : public QPaintEngine, public QPrintEngine {
public:
    enum class Fail { Nothing, BeginCall, BeginState, NewPageCall, EndCall, EndState };

    explicit FakePrintEngine(Fail fail) : QPaintEngine(AllFeatures), fail_(fail) {}

    bool begin(QPaintDevice *) override
    {
        if (fail_ == Fail::BeginCall)
            return false;
        state_ = fail_ == Fail::BeginState ? QPrinter::Error : QPrinter::Active;
        return true;
    }
    bool end() override
    {
        if (state_ != QPrinter::Aborted)
            state_ = fail_ == Fail::EndState ? QPrinter::Error : QPrinter::Idle;
        return fail_ != Fail::EndCall;
    }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override
    {
    }
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override {}
    Type type() const override { return User; }

    bool newPage() override
    {
        if (fail_ == Fail::NewPageCall)
            return false;
        ++pages;
        return true;
    }
    bool abort() override
    {
        aborted = true;
        state_ = QPrinter::Aborted;
        return true;
    }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case QPaintDevice::PdmWidth:
            return 2480;
        case QPaintDevice::PdmHeight:
            return 3508;
        case QPaintDevice::PdmWidthMM:
            return 210;
        case QPaintDevice::PdmHeightMM:
            return 297;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        case QPaintDevice::PdmDpiX:
        case QPaintDevice::PdmDpiY:
        case QPaintDevice::PdmPhysicalDpiX:
        case QPaintDevice::PdmPhysicalDpiY:
            return 300;
        default:
            return 0;
        }
    }
    QPrinter::PrinterState printerState() const override { return state_; }
    void setProperty(PrintEnginePropertyKey, const QVariant &) override {}
    QVariant property(PrintEnginePropertyKey) const override { return {}; }

    int pages = 1; // a job starts on its first page
    bool aborted = false;

private:
    Fail fail_;
    QPrinter::PrinterState state_ = QPrinter::Idle;
};

// A printer that prints through the engine it is given, which it does not own.
class FakePrinter : public QPrinter {
public:
    explicit FakePrinter(FakePrintEngine *engine) { setEngines(engine, engine); }
};
