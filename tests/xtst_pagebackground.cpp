#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "PageBackground.h"
#include "RealPointer.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>

class PageBackgroundTest : public QObject {
    Q_OBJECT

    QTabWidget* pages = nullptr;
    QWidget* page = nullptr;
    QWidget* otherPage = nullptr;
    PageBackground* background = nullptr;
    int moves = 0;

    template <typename Widget>
    Widget* Place(const QString& name, Widget* widget, const QRect& geometry, bool enabled)
    {
        widget->setGeometry(geometry);
        widget->setEnabled(enabled);
        widget->setObjectName(name);
        return widget;
    }

private slots:
    void initTestCase()
    {
        pages = new QTabWidget;
        pages->setGeometry(100, 100, 500, 300);
        page = new QWidget;
        otherPage = new QWidget;
        pages->addTab(page, "Page");
        pages->addTab(otherPage, "Other");
        Place("enabled field", new QLineEdit(page), {10, 10, 120, 24}, true);
        Place("enabled label", new QLabel("Label", page), {10, 50, 120, 20}, true);
        Place("disabled field", new QLineEdit(page), {10, 90, 120, 24}, false);
        Place("disabled label", new QLabel("Off", page), {10, 130, 120, 20}, false);
        Place("disabled check box", new QCheckBox("Box", page), {10, 170, 120, 20}, false);
        Place("enabled check box", new QCheckBox("Box", page), {10, 210, 120, 20}, true);
        Place("disabled integer field", new BoundedIntegerField(page), {200, 10, 55, 26}, false);
        Place("enabled integer field", new BoundedIntegerField(page), {200, 50, 55, 26}, true);
        Place("disabled caption-left box", new CheckBoxControl("Auto", page), {200, 90, 115, 17},
              false);
        background = new PageBackground(*page);
        background->OnMouseMove = [this] { ++moves; };
        pages->show();
        QVERIFY(QTest::qWaitForWindowExposed(pages));
    }

    void cleanupTestCase() { delete pages; }

    void movementCountsOnlyOverTheBackground_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("counts");
        QTest::newRow("background") << "background" << true;
        QTest::newRow("enabled field") << "enabled field" << false;
        QTest::newRow("enabled label") << "enabled label" << false;
        QTest::newRow("disabled field") << "disabled field" << true;
        QTest::newRow("disabled label") << "disabled label" << true;
        QTest::newRow("disabled check box") << "disabled check box" << true;
        QTest::newRow("enabled check box") << "enabled check box" << false;
        QTest::newRow("tab header") << "tab header" << false;
        QTest::newRow("disabled integer field") << "disabled integer field" << true;
        QTest::newRow("disabled arrow button") << "disabled arrow button" << true;
        QTest::newRow("enabled integer field") << "enabled integer field" << false;
        QTest::newRow("enabled arrow button") << "enabled arrow button" << false;
        QTest::newRow("disabled caption-left box") << "disabled caption-left box" << true;
    }

    void movementCountsOnlyOverTheBackground()
    {
        QFETCH(QString, where);
        QFETCH(bool, counts);
        pages->setCurrentWidget(page);

        QPoint target;
        if (where == "background")
            target = page->mapToGlobal(QPoint(300, 200));
        else if (where == "tab header")
            target = pages->tabBar()->mapToGlobal(pages->tabBar()->tabRect(0).center());
        else if (where.endsWith("arrow button")) {
            const QString field = QString(where).replace("arrow button", "integer field");
            const QWidget* arrow =
                page->findChild<QWidget*>(field)->findChild<QWidget*>("StepUpButton");
            target = arrow->mapToGlobal(arrow->rect().center());
        } else {
            const QWidget* part = page->findChild<QWidget*>(where);
            target = part->mapToGlobal(part->rect().center());
        }

        // Start from outside the window, then make two movements at the target.
        QVERIFY(MovePointerTo(QPoint(20, 20)));
        QTest::qWait(50);
        moves = 0;
        QVERIFY(MovePointerTo(target));
        QTest::qWait(100);
        QVERIFY(MovePointerTo(target + QPoint(2, 1)));
        QTest::qWait(100);
        if (counts)
            QCOMPARE(moves, 2);
        else
            QCOMPARE(moves, 0);
    }

    void hiddenPageReportsNothing()
    {
        pages->setCurrentWidget(otherPage);
        moves = 0;
        QVERIFY(MovePointerTo(otherPage->mapToGlobal(QPoint(300, 200))));
        QVERIFY(MovePointerTo(otherPage->mapToGlobal(QPoint(310, 205))));
        QTest::qWait(150);
        QCOMPARE(moves, 0);
    }
};

QTEST_MAIN(PageBackgroundTest)
#include "xtst_pagebackground.moc"
