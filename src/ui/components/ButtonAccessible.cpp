#include "ui/components/ButtonAccessible.h"

#include "ui/components/ImageBt.h"
#include "ui/components/RegionBt.h"

#include <QAccessibleWidget>

namespace {

// Without an interface of their own the picture buttons are unnamed "fillers": a screen
// reader cannot tell that they can be pressed, nor press them.
template <typename Button>
class PictureButtonAccessible final : public QAccessibleWidget
{
public:
    explicit PictureButtonAccessible(Button *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        auto *button = static_cast<Button *>(widget());
        if (button->isEnabled() && button->OnClick)
            button->OnClick(button);
    }
};

QAccessibleInterface *factory(const QString &key, QObject *object)
{
    if (key == QLatin1String("TImageBt"))
        return new PictureButtonAccessible<TImageBt>(static_cast<TImageBt *>(object));
    if (key == QLatin1String("TRegionBt"))
        return new PictureButtonAccessible<TRegionBt>(static_cast<TRegionBt *>(object));
    return nullptr;
}

} // namespace

namespace ButtonAccessible {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

} // namespace ButtonAccessible
