#include "AccessibleEventLog.h"

#include <QAccessibleBridgePlugin>
#include <QtPlugin>

namespace kztr::test {

std::vector<AccessibleEventRecord>& AccessibleEventLog::Events() {
    static std::vector<AccessibleEventRecord> events;
    return events;
}

std::vector<AccessibleEventRecord> AccessibleEventLog::Of(QAccessible::Event type,
                                                          const QString& name) {
    std::vector<AccessibleEventRecord> out;
    for (const AccessibleEventRecord& e : Events())
        if (e.type == type && e.name == name) out.push_back(e);
    return out;
}

namespace {

class RecordingBridge : public QAccessibleBridge {
public:
    void setRootObject(QAccessibleInterface*) override {}
    void notifyAccessibilityUpdate(QAccessibleEvent* event) override {
        AccessibleEventRecord r{event->type(), {}, {}, {}};
        if (QAccessibleInterface* iface = event->accessibleInterface())
            r.name = iface->text(QAccessible::Name);
        if (event->type() == QAccessible::StateChanged)
            r.changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        if (event->type() == QAccessible::ValueChanged)
            r.value = static_cast<QAccessibleValueChangeEvent*>(event)->value();
        AccessibleEventLog::Events().push_back(r);
    }
};

} // namespace

} // namespace kztr::test

class RecordingBridgePlugin : public QAccessibleBridgePlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QAccessibleBridgeFactoryInterface_iid FILE "AccessibleEventLog.json")
public:
    // Qt never deletes the bridges it asks for: one that lives as long as the program.
    QAccessibleBridge* create(const QString&) override {
        static kztr::test::RecordingBridge bridge;
        return &bridge;
    }
};

// Loaded with the test executable, never from the plugin folders.
Q_IMPORT_PLUGIN(RecordingBridgePlugin)

#include "AccessibleEventLog.moc"
