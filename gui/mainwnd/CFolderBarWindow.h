#pragma once
// The pane around the folder tree: a caption bar reading "Folders" across the
// top and one client window (the tree) filling the rest.

#include <QWidget>

class CFolderBarWindow : public QWidget {
    Q_OBJECT
public:
    explicit CFolderBarWindow(QWidget* parent = nullptr);

    // The caption bar is at least 22 pixels high, or the font's height plus 10.
    static int CaptionHeight(int fontHeight);

    void SetClient(QWidget* client);
    QWidget* client() const { return client_; }
    QString caption() const { return caption_; }
    int captionHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceClient();

    QString caption_;
    QWidget* client_ = nullptr;
};
