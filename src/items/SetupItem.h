#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

class ItemTrack;
class LengthUnits;
class ParameterLink;

// What every setup item is given when it is created.
struct ItemContext
{
    ItemTrack *track = nullptr;     // the item registers itself here
    ParameterLink *link = nullptr;  // reads and writes go through it
    LengthUnits *units = nullptr;   // float items convert lengths against it
};

// The item contract: one device parameter, held as the text of its editor, moved
// between the editor, the device ("R" + code, "S" + code + value) and a settings-file
// line (code + value). ItemTrack and the window use items only through this interface.
class SetupItem : public QWidget
{
    Q_OBJECT
public:
    SetupItem(const ItemContext &context, QWidget *parent = nullptr);
    ~SetupItem() override;

    void set_serstring(const QString &s);
    QString get_serstring() const;
    void set_title(const QString &t); // shown with ":" appended
    QString title() const;            // with the ":"

    // The name assistive tools read for the editor; by default the title without its
    // ":". The window names items whose titles are empty or shared (magnet offsets, the
    // two bounds of a limit switch).
    void set_accessible_name(const QString &name);
    QString accessible_name() const;

    // "R" + code; a reply that arrives is taken as the kind takes it.
    virtual void ser_read();
    virtual void ser_write() = 0;
    // True when the line begins with the code; its value is then taken as a reply would
    // be. Every line offered counts as a change of the form.
    virtual bool check_file_read(const QString &s);
    virtual QString make_file_write_str() const = 0;
    virtual void reset_units() {}
    // Only the look changes: title and editors in the normal or the grey text colour; the
    // item stays editable and keeps taking part in transfers.
    void enable(bool on) { apply_enabled_look(on); }
    bool is_enabled_look() const { return m_enabledLook; } // drawn in the normal colour
    // The factory default, in the type the kind's set_value takes (int for integer and
    // hex items, double in inches for float items, a device token for list items).
    virtual void set_value_variant(const QVariant &value) = 0;
    // The text shown to the user (the editor text, or the list's display text).
    virtual QString value_text() const = 0;

signals:
    // Any change of the editor's text, and every line offered to check_file_read.
    void changed();
    // List items only: after changed(), on every selection change.
    void selectionChanged();

protected:
    // A value text from the device or a settings file: shown when the kind's checks pass,
    // otherwise the editor keeps its text.
    virtual void take(const QString &text) = 0;
    // Sends "R" + code; true with the reply's payload when the exchange succeeded. A failed
    // exchange leaves no reply of this parameter to show.
    bool read_reply(QString *payload) const;
    // Lifts the write protection, then sends "S" + code + value text.
    void send_write(const QString &valueText) const;
    // The value text after the code when the line belongs to this item.
    bool line_value(const QString &line, QString *value) const;
    // Places an editor after the title (or the previous editor). It shows the code as its
    // tooltip, is named for assistive tools (the item's name, then the role when given)
    // and follows the enable look.
    void add_editor(QWidget *editor, const QString &role = QString());
    // Draws the title and every editor in the normal or the grey text colour.
    void apply_enabled_look(bool on);
    // The title label (shared by every kind) and the accessible name of the editor.
    class QLabel *titleLabel() const;
    ItemContext m_ctx;

private:
    void refresh_names();

    QString m_code;
    QString m_title;
    QString m_accessibleName;
    class QLabel *m_titleLabel;
    class QHBoxLayout *m_layout;
    QList<QPair<QWidget *, QString>> m_editors; // editor, role
    bool m_enabledLook = true;
};
