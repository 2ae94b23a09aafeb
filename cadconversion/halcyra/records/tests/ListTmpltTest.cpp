// Tests of CListTmplt: its operations in sequence with the list's
// invariants checked after each, and the refusals that RemoveAt logs.
#include "halcyra/ListTmplt.h"

#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

using List = CListTmplt<int>;
using Node = List::CNode;

int a = 1, b = 2, c = 3, d = 4;

// Walks the list both ways and checks count, ends, links and owner.
std::vector<int*> contentsChecked(List& list)
{
    std::vector<int*> forward;
    Node* last = nullptr;
    for (Node* n = list.GetHeadPosition(); n; n = list.GetNextPosition(n)) {
        EXPECT_EQ(n->m_pList, &list);
        EXPECT_EQ(list.GetPrevPosition(n), last);
        forward.push_back(n->pElement);
        last = n;
    }
    EXPECT_EQ(list.GetCount(), static_cast<LONG>(forward.size()));
    EXPECT_EQ(list.IsEmpty(), forward.empty());
    EXPECT_EQ(list.GetHead(), forward.empty() ? nullptr : forward.front());
    EXPECT_EQ(list.GetTail(), forward.empty() ? nullptr : forward.back());
    EXPECT_EQ(list.GetHeadPosition() == nullptr, forward.empty());
    return forward;
}

int* found(Node* node)
{
    return node ? node->pElement : nullptr;
}

struct Step {
    const char* what;
    std::function<int*(List&)> run; // the element the operation answers, if any
    int* answer;
    std::vector<int*> after;
};

TEST(ListTmplt, OperationsInSequenceKeepTheInvariants)
{
    List other;
    other.InsertTail(&c);
    other.InsertTail(&d);

    const std::vector<Step> steps = {
        {"RemoveHead on an empty list", [](List& l) { return l.RemoveHead(); }, nullptr, {}},
        {"InsertTail on an empty list",
         [](List& l) { return l.InsertTail(&a)->pElement; },
         &a,
         {&a}},
        {"RemoveHead of the only node", [](List& l) { return l.RemoveHead(); }, &a, {}},
        {"InsertTail after emptying", [](List& l) { return l.InsertTail(&b)->pElement; }, &b, {&b}},
        {"AddHead", [](List& l) { return l.AddHead(&a)->pElement; }, &a, {&a, &b}},
        {"AddTail", [](List& l) { return l.AddTail(&c)->pElement; }, &c, {&a, &b, &c}},
        {"Find the middle", [](List& l) { return found(l.Find(&b)); }, &b, {&a, &b, &c}},
        {"Find a stranger", [](List& l) { return found(l.Find(&d)); }, nullptr, {&a, &b, &c}},
        {"Remove the middle", [](List& l) { return l.Remove(&b); }, &b, {&a, &c}},
        {"Remove a stranger", [](List& l) { return l.Remove(&d); }, nullptr, {&a, &c}},
        {"RemoveAt the tail",
         [](List& l) { return l.RemoveAt(l.GetNextPosition(l.GetHeadPosition())); },
         &c,
         {&a}},
        {"AddTailList",
         [&other](List& l) {
             l.AddTailList(&other);
             return nullptr;
         },
         nullptr,
         {&a, &c, &d}},
        {"Remove the head", [](List& l) { return l.Remove(&a); }, &a, {&c, &d}},
        {"the same pointer twice",
         [](List& l) { return l.InsertTail(&c)->pElement; },
         &c,
         {&c, &d, &c}},
        {"Remove takes the first of them", [](List& l) { return l.Remove(&c); }, &c, {&d, &c}},
        {"RemoveAll",
         [](List& l) {
             l.RemoveAll();
             return nullptr;
         },
         nullptr,
         {}},
        {"AddHead on an empty list", [](List& l) { return l.AddHead(&d)->pElement; }, &d, {&d}},
    };

    List list;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        EXPECT_EQ(step.run(list), step.answer);
        EXPECT_EQ(contentsChecked(list), step.after);
    }
    EXPECT_EQ(contentsChecked(other), (std::vector<int*>{&c, &d}));
}

TEST(ListTmplt, GetNextWalksToTheEndAndStopsThere)
{
    List list;
    Node* pos = nullptr;
    EXPECT_EQ(list.GetNext(pos), nullptr);

    list.InsertTail(&a);
    Node* last = list.InsertTail(&b);
    pos = list.GetHeadPosition();
    EXPECT_EQ(list.GetNext(pos), &a);
    EXPECT_EQ(pos, last);
    EXPECT_EQ(list.GetNext(pos), &b);
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(list.GetNext(pos), nullptr);
    EXPECT_EQ(pos, nullptr);

    EXPECT_EQ(list.GetNextPosition(nullptr), nullptr);
    EXPECT_EQ(list.GetPrevPosition(nullptr), nullptr);
}

// AddTail reaches InsertTail through the table, so a list whose InsertTail
// throws shows that AddTail swallows what InsertTail raises.
struct FailingList : List {
    Node* InsertTail(int*) override { throw std::bad_alloc(); }
};

TEST(ListTmplt, AddTailAnswersNullWhenTheNodeCannotBeMade)
{
    FailingList list;
    EXPECT_EQ(list.AddTail(&a), nullptr);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_THROW(list.InsertTail(&a), std::bad_alloc);
}

// The maker's log goes under XDG_DATA_HOME; each test gets its own.
class ListTmpltLog : public ::testing::Test {
protected:
    std::string log() const
    {
        return testsupport::readFile(m_folder / "vlmr" / "log" / "error.log");
    }

private:
    const testsupport::TemporaryFolder m_folder{"listtmplt"};
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME", m_folder.path().string()};
};

TEST_F(ListTmpltLog, RemoveAtRefusesANullNode)
{
    List list;
    list.InsertTail(&a);
    EXPECT_EQ(list.RemoveAt(nullptr), nullptr);
    EXPECT_EQ(contentsChecked(list), std::vector<int*>{&a});
    const std::string text = log();
    EXPECT_NE(text.find("ListTmplt.h(340): In CListTmplt::RemoveAt and pNode is NULL"),
              std::string::npos)
        << text;
}

TEST_F(ListTmpltLog, RemoveAtRefusesANodeOfAnotherList)
{
    List list, other;
    list.InsertTail(&a);
    Node* foreign = other.InsertTail(&b);
    EXPECT_EQ(list.RemoveAt(foreign), nullptr);
    EXPECT_EQ(contentsChecked(list), std::vector<int*>{&a});
    EXPECT_EQ(contentsChecked(other), std::vector<int*>{&b});
    const std::string text = log();
    EXPECT_NE(
        text.find("ListTmplt.h(344): In CListTmplt::RemoveAt and pNode m_pList is not this List"),
        std::string::npos)
        << text;
}

TEST_F(ListTmpltLog, RemoveOfAStrangerLogsNothing)
{
    List list;
    list.InsertTail(&a);
    EXPECT_EQ(list.Remove(&b), nullptr);
    EXPECT_EQ(log(), "");
}

} // namespace
