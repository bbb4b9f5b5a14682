#pragma once
// A balloon tip anchored under an edit: a tool-tip window with a message,
// shown until it is hidden or its page goes out of sight.

#include <QLabel>

class CBalloonTip : public QLabel {
    Q_OBJECT
public:
    // Hidden whenever `anchor`'s window is hidden or `anchor` itself is.
    explicit CBalloonTip(QWidget* anchor);

    // Shows `text` under the anchor, a quarter of its width in.
    void ShowText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* anchor_;
};
