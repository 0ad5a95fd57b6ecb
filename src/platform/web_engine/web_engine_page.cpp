// The module that brings the web engine into the program when a browser window first
// opens: a QWebEngineView driven through the program's WebPage.
#include "platform/web_page.h"

#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QWebEngineView>

namespace {

class EnginePage final : public qv::WebPage {
public:
    EnginePage(QWidget* parent, QObject* context, qv::WebPageEvents events)
        : view_(new QWebEngineView(parent)) {
        QObject::connect(view_, &QWebEngineView::loadStarted, context,
                         [f = events.loadStarted] {
                             if (f) f();
                         });
        QObject::connect(view_, &QWebEngineView::loadFinished, context,
                         [f = events.loadFinished](bool ok) {
                             if (f) f(ok);
                         });
        QObject::connect(view_, &QWebEngineView::printFinished, context,
                         [f = events.printFinished](bool ok) {
                             if (f) f(ok);
                         });
        QObject::connect(view_, &QWebEngineView::pdfPrintingFinished, context,
                         [f = events.pdfPrintingFinished](const QString& path, bool ok) {
                             if (f) f(path, ok);
                         });
    }

    QWidget* widget() override { return view_; }
    QWebEngineView* view() override { return view_; }

    void load(const QUrl& url) override {
        if (view_) view_->load(url);
    }
    void back() override {
        if (view_) view_->back();
    }
    void forward() override {
        if (view_) view_->forward();
    }
    void stop() override {
        if (view_) view_->stop();
    }
    void reload() override {
        if (view_) view_->reload();
    }
    QString title() const override { return view_ ? view_->title() : QString(); }
    QUrl url() const override { return view_ ? view_->url() : QUrl(); }
    void print(QPrinter* printer) override {
        if (view_) view_->print(printer);
    }
    void printToPdf(const QString& path, const QPageLayout& layout) override {
        if (view_) view_->printToPdf(path, layout);
    }

private:
    // Owned by its parent widget, which may delete it first.
    QPointer<QWebEngineView> view_;
};

} // namespace

extern "C" Q_DECL_EXPORT qv::WebPage* qv_create_web_page(QWidget* parent, QObject* context,
                                                         qv::WebPageEvents* events) {
    return new EnginePage(parent, context, events ? std::move(*events) : qv::WebPageEvents{});
}
