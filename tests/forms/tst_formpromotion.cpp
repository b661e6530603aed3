#include "ChessBrd.h"
#include "UnitFormPromotion.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestFormPromotion : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void blackPromotesToAKnight();
    void whitePiecesForWhite();
    void onlyAPieceButtonEndsIt();
};

void TestFormPromotion::blackPromotesToAKnight() {
    QWidget owner;
    owner.setGeometry(100, 100, 800, 600);
    owner.show();
    TFormPromotion form(&owner);
    bool pawnDisabled = false;
    bool hintShown = false;
    int hintGap = 0;
    QImage knightIcon;
    QTimer::singleShot(50, &form, [&] {
        pawnDisabled = !form.Button(1)->isEnabled();
        hintShown = form.HintWindow()->isVisible() && form.HintWindow()->text().startsWith("Wählen Sie die Figur");
        hintGap = form.HintWindow()->frameGeometry().top() - form.frameGeometry().bottom() - 1;
        knightIcon = form.Button(2)->icon().pixmap(40, 40).toImage();
        QTest::mouseClick(form.Button(2), Qt::LeftButton);
    });
    QCOMPARE(form.Ask(true), 2); // white to move now: black has promoted
    QVERIFY(pawnDisabled);
    QVERIFY(hintShown);
    QCOMPARE(hintGap, 20);
    QVERIFY(!form.HintWindow()->isVisible());
    QCOMPARE(knightIcon.convertToFormat(QImage::Format_ARGB32),
             TChessBrd::BuiltInPieceImage('n').toImage().convertToFormat(QImage::Format_ARGB32));
}

void TestFormPromotion::whitePiecesForWhite() {
    TFormPromotion form;
    QImage queenIcon;
    QTimer::singleShot(0, &form, [&] {
        queenIcon = form.Button(5)->icon().pixmap(40, 40).toImage();
        form.Button(5)->click();
    });
    QCOMPARE(form.Ask(false), 5);
    QCOMPARE(queenIcon.convertToFormat(QImage::Format_ARGB32),
             TChessBrd::BuiltInPieceImage('Q').toImage().convertToFormat(QImage::Format_ARGB32));
}

void TestFormPromotion::onlyAPieceButtonEndsIt() {
    TFormPromotion form;
    bool stillOpen = false;
    QTimer::singleShot(0, &form, [&] {
        QTest::keyClick(&form, Qt::Key_Escape);
        stillOpen = form.isVisible();
        form.Button(4)->click();
    });
    QCOMPARE(form.Ask(false), 4);
    QVERIFY(stillOpen);
}

QTEST_MAIN(TestFormPromotion)
#include "tst_formpromotion.moc"
