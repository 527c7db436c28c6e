#include "app/look/UiCursors.h"

#include <QPixmap>

#include "app/qt/FrameImageQt.h"
#include "app/look/UiPictures.h"

namespace orvane {
namespace {

std::size_t Slot(sheet::CursorPicture picture)
{
    for (std::size_t i = 0; i < sheet::kCursors.size(); ++i) {
        if (sheet::kCursors[i].id == picture) {
            return i;
        }
    }
    return 0;
}

Qt::CursorShape StandInShape(sheet::CursorPicture picture)
{
    switch (picture) {
    case sheet::CursorPicture::Grab: return Qt::ClosedHandCursor;
    case sheet::CursorPicture::Move: return Qt::SizeAllCursor;
    case sheet::CursorPicture::Pen:
    case sheet::CursorPicture::CornerCross:
    case sheet::CursorPicture::Circle:
    case sheet::CursorPicture::Cross: return Qt::CrossCursor;
    }
    return Qt::ArrowCursor;
}

} // namespace

CursorChoice CursorChoiceForHint(int hint)
{
    switch (hint) {
    case 1: return CursorChoice::Circle;
    case 2: return CursorChoice::Cross;
    case 3: return CursorChoice::Hand;
    case 4: return CursorChoice::Move;
    case 6: return CursorChoice::SizeBDiag;
    case 7: return CursorChoice::SizeVer;
    case 8: return CursorChoice::SizeFDiag;
    case 9: return CursorChoice::SizeHor;
    case 10: return CursorChoice::SizeAll;
    default: return CursorChoice::Default;
    }
}

bool UiCursors::Load()
{
    bool all = true;
    for (std::size_t i = 0; i < sheet::kCursors.size(); ++i) {
        const sheet::CursorSpec& entry = sheet::kCursors[i];
        FrameImage picture;
        const QString file = QString::fromLatin1(entry.file.data(), static_cast<qsizetype>(entry.file.size()));
        if (DecodeUiResource(file + QStringLiteral(".png"), picture)) {
            m_cursors[i] = QCursor(QPixmap::fromImage(ToQImage(picture)), entry.hotX, entry.hotY);
        } else {
            m_cursors[i] = QCursor(StandInShape(entry.id));
            all = false;
        }
    }
    return all;
}

const QCursor& UiCursors::cursor(sheet::CursorPicture picture) const
{
    return m_cursors[Slot(picture)];
}

std::optional<QCursor> UiCursors::CursorForHint(int hint) const
{
    switch (CursorChoiceForHint(hint)) {
    case CursorChoice::Default: return std::nullopt;
    case CursorChoice::Circle: return cursor(sheet::CursorPicture::Circle);
    case CursorChoice::Cross: return cursor(sheet::CursorPicture::Cross);
    case CursorChoice::Hand: return cursor(sheet::CursorPicture::Grab);
    case CursorChoice::Move: return cursor(sheet::CursorPicture::Move);
    case CursorChoice::SizeBDiag: return QCursor(Qt::SizeBDiagCursor);
    case CursorChoice::SizeVer: return QCursor(Qt::SizeVerCursor);
    case CursorChoice::SizeFDiag: return QCursor(Qt::SizeFDiagCursor);
    case CursorChoice::SizeHor: return QCursor(Qt::SizeHorCursor);
    case CursorChoice::SizeAll: return QCursor(Qt::SizeAllCursor);
    }
    return std::nullopt;
}

} // namespace orvane
