#include "SpokenList.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

// On Windows and macOS the platform's accessibility layer reports a combo box's value itself. Through AT-SPI
// (Linux) a closed combo box reports nothing when its entry changes, and Orca ignores changes of its name and
// description; it does speak an entry of the list's popup view that takes the focus, even while the popup is
// closed.
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
constexpr bool kSpeakThroughPopupView = false;
#else
constexpr bool kSpeakThroughPopupView = true;
#endif

// Marks a list that speaks its entries, before its accessibility interface is first asked for.
constexpr char kSpokenList[] = "giornaliElencoParlato";

// A closed drop-down list as AT-SPI gets it: its popup view as its one child, as Qt's own, and its text, which
// Orca says and shows on the braille display as the list's value when the list takes the focus, is the entry with
// its position. Qt 6.4 gives a list no text, and its popup no selection, so Orca had no value to show.
class AccessibleSpokenList : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleSpokenList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return list()->currentText();
        if (kind == QAccessible::Name && list()->accessibleName().isEmpty())
            return list()->currentText();
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (list()->view()->isVisible())
                list()->hidePopup();
            else
                list()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    // The text: the entry with its position, read-only, with the caret at its start.
    QString text(int start, int end) const override { return shown().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return 0; }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
    QString shown() const { return entryAndPosition(list()); }
};

QAccessibleInterface* spokenListFactory(const QString&, QObject* object) {
    if (object && object->isWidgetType() && object->property(kSpokenList).toBool())
        return new AccessibleSpokenList(static_cast<QComboBox*>(object));
    return nullptr;
}

class ListSpeaker : public QObject {
public:
    explicit ListSpeaker(QComboBox* list) : QObject(list), m_list(list) {
        connect(list, &QComboBox::currentIndexChanged, this, &ListSpeaker::selectionChanged);
        QAbstractItemModel* model = list->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &ListSpeaker::describe);
        connect(model, &QAbstractItemModel::modelReset, this, &ListSpeaker::describe);
        connect(model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                    if (roles.isEmpty() || roles.contains(kReadRole))
                        describe();
                });
        describe();
    }

private:
    // Said after the list's name and role when it takes the focus; through AT-SPI the list's text says it.
    void describe() {
        if (!kSpeakThroughPopupView)
            m_list->setAccessibleDescription(entryAndPosition(m_list));
    }

    void selectionChanged() {
        describe();
        if (m_list->hasFocus())
            speak();
    }

    // The entry is spoken under its accessible text, which carries the position; the row spoken before gets
    // back its plain text, so the open popup reads as it shows.
    void speak() {
        const int row = m_list->currentIndex();
        if (!kSpeakThroughPopupView || row < 0)
            return;
        QAbstractItemModel* model = m_list->model();
        if (m_spokenRow.isValid() && m_spokenRow.row() != row)
            model->setData(m_spokenRow, QVariant(), Qt::AccessibleTextRole);
        m_spokenRow = model->index(row, m_list->modelColumn(), m_list->rootModelIndex());
        model->setData(m_spokenRow, entryAndPosition(m_list), Qt::AccessibleTextRole);
        QAccessibleEvent event(m_list->view(), QAccessible::Focus);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
    }

    QComboBox* m_list;
    QPersistentModelIndex m_spokenRow;
};

} // namespace

QString entryAndPosition(const QComboBox* list) {
    const int row = list->currentIndex();
    if (list->count() == 0)
        return QStringLiteral("elenco vuoto");
    if (row < 0)
        return QStringLiteral("nessuna voce scelta, %1 voci").arg(list->count());
    const bool read = list->itemData(row, kReadRole).toBool();
    return QStringLiteral("%1, %2%3 di %4")
        .arg(list->currentText(), read ? QStringLiteral("letto, ") : QString())
        .arg(row + 1)
        .arg(list->count());
}

void speakEntries(QComboBox* list) {
    if (kSpeakThroughPopupView) {
        static const bool installed = [] {
            QAccessible::installFactory(spokenListFactory);
            return true;
        }();
        list->setProperty(kSpokenList, installed);
    }
    new ListSpeaker(list);
}
