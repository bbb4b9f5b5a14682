#include "gui/panes/CStateImages.h"

#include "review/ListCells.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// The resources live in a static library: their initialiser must be
// referenced, and Q_INIT_RESOURCE must be used outside any namespace.
static void InitPaneResources() {
    Q_INIT_RESOURCE(panes);
}

CStateImages::CStateImages() {
    InitPaneResources();
    const char* files[3] = {":/panes/state-deleted.svg", ":/panes/state-unsettled.svg",
                            ":/panes/state-preserved.svg"};
    for (int i = 0; i < 3; ++i) {
        // Rendered here rather than through the SVG icon plugin, so the
        // images do not depend on a plugin being installed.
        QSvgRenderer renderer(QString::fromLatin1(files[i]));
        for (int size : {16, 32}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            renderer.render(&painter);
            painter.end();
            images_[i].addPixmap(pixmap);
        }
    }
}

const QIcon& CStateImages::Image(int index) const {
    return index >= 0 && index < 3 ? images_[index] : none_;
}

const QIcon& CStateImages::ImageOf(paradrex::FileState state) const {
    return Image(paradrex::StateImageIndex(state));
}
