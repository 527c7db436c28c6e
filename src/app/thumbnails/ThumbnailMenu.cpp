#include "app/thumbnails/ThumbnailMenu.h"

#include <QAction>
#include <QMenu>

namespace orvane {

ThumbnailCommand ShowThumbnailMenu(QWidget* parent, QPoint globalPosition)
{
    QMenu menu(parent);
    menu.setObjectName(QStringLiteral("146"));
    for (const auto& [text, command] :
         {std::pair{"Open", ThumbnailCommand::Open}, std::pair{"Remove", ThumbnailCommand::Remove},
          std::pair{"Trash box", ThumbnailCommand::TrashBox}}) {
        QAction* action = menu.addAction(QString::fromLatin1(text));
        action->setData(static_cast<int>(command));
    }
    const QAction* chosen = menu.exec(globalPosition);
    return chosen == nullptr ? ThumbnailCommand::None : static_cast<ThumbnailCommand>(chosen->data().toInt());
}

} // namespace orvane
