// Walking a limb tree: the one pre-order walk that posing, drawing, writing, listing and the
// host program's checks go through, so that every pass over a figure reads the records the same
// way.
//
// A walk visits the limb it starts from, then each child's subtree in slot order. Of a limb it
// reads slots 0 to childCount-1, never more than kMaxChildren, and leaves empty slots out. It goes
// no further than kMaxLimbDepth levels below where it started, the deepest nesting the reader
// makes limbs for; a tree built deeper by hand is cut there, which also keeps the recursion (one
// level of it per tree level) well within the stack. It allocates nothing and throws nothing of
// its own.
#pragma once

#include <type_traits>
#include <utility>

#include "model/limb.h"

// Which children a walk leaves out. Either way the limb the walk starts from is visited.
enum class DeletedLimbs {
    kSkipped,  // a deleted child is left out with everything below it (drawing, writing, listing)
    kVisited,  // every limb the records hold (channel mapping, searching, change checks)
};

// What a visitor's enter asks of the walk.
enum class LimbWalkStep {
    kBelow,     // visit the limb's children next (none below kMaxLimbDepth)
    kNotBelow,  // leave its children out and go on with the next limb
    kStop,      // end the walk here: nothing more is entered or left
};

// Whether a walk goes on to the children of a limb depth levels below where it started.
constexpr bool limbWalkGoesBelow(int depth) {
    return depth < kMaxLimbDepth;
}

// Whether a walk under that rule visits child (a slot's content).
inline bool limbWalkVisits(const Limb* child, DeletedLimbs deleted) {
    return child != nullptr && (deleted == DeletedLimbs::kVisited || child->deleted != 1);
}

// The children of one limb that a walk visits, in slot order, for range-for. LimbT is Limb or
// const Limb. A null limb has none.
template <typename LimbT>
class LimbChildren {
  public:
    class Iterator {
      public:
        Iterator(Limb* const* slot, Limb* const* end, DeletedLimbs deleted)
            : slot_(slot), end_(end), deleted_(deleted) {
            skipUnvisited();
        }
        LimbT* operator*() const { return *slot_; }
        Iterator& operator++() {
            ++slot_;
            skipUnvisited();
            return *this;
        }
        bool operator!=(const Iterator& other) const { return slot_ != other.slot_; }

      private:
        void skipUnvisited() {
            while (slot_ != end_ && !limbWalkVisits(*slot_, deleted_))
                ++slot_;
        }
        Limb* const* slot_;
        Limb* const* end_;
        DeletedLimbs deleted_;
    };

    LimbChildren(LimbT* limb, DeletedLimbs deleted) : deleted_(deleted) {
        if (limb == nullptr)
            return;
        const uint32_t count = limb->childCount < static_cast<uint32_t>(kMaxChildren)
                                   ? limb->childCount
                                   : static_cast<uint32_t>(kMaxChildren);
        first_ = limb->children;
        end_ = limb->children + count;
    }
    Iterator begin() const { return Iterator(first_, end_, deleted_); }
    Iterator end() const { return Iterator(end_, end_, deleted_); }

  private:
    Limb* const* first_ = nullptr;
    Limb* const* end_ = nullptr;
    DeletedLimbs deleted_;
};

template <typename LimbT>
LimbChildren<LimbT> limbChildren(LimbT* limb, DeletedLimbs deleted) {
    return LimbChildren<LimbT>(limb, deleted);
}

namespace limb_walk_detail {

struct NoLevel {};

template <typename Visitor, typename = void>
struct LevelOf {
    using type = NoLevel;
    static constexpr bool kDeclared = false;
};
template <typename Visitor>
struct LevelOf<Visitor, std::void_t<typename Visitor::Level>> {
    using type = typename Visitor::Level;
    static constexpr bool kDeclared = true;
};

template <typename Visitor, typename LimbT, typename = void>
struct HasLeave : std::false_type {};
template <typename Visitor, typename LimbT>
struct HasLeave<Visitor, LimbT,
                std::void_t<decltype(std::declval<Visitor&>().leave(std::declval<LimbT*>(), 0))>>
    : std::true_type {};

// Walks limb's subtree; false once the visitor stopped the walk.
template <typename LimbT, typename Visitor, typename Level>
bool walkFrom(LimbT* limb, LimbT* parent, int depth, const Level* parentLevel, DeletedLimbs deleted,
              Visitor& visitor) {
    Level own{};
    LimbWalkStep step;
    if constexpr (LevelOf<Visitor>::kDeclared)
        step = visitor.enter(limb, parent, depth, parentLevel, own);
    else
        step = visitor.enter(limb, parent, depth);
    if (step == LimbWalkStep::kStop)
        return false;
    if (step == LimbWalkStep::kBelow && limbWalkGoesBelow(depth)) {
        for (LimbT* child : limbChildren(limb, deleted)) {
            if (!walkFrom(child, limb, depth + 1, &own, deleted, visitor))
                return false;
        }
    }
    if constexpr (HasLeave<Visitor, LimbT>::value)
        visitor.leave(limb, depth);
    return true;
}

}  // namespace limb_walk_detail

// Walks the tree below and including root (nothing for a null root), calling on the visitor
//   LimbWalkStep enter(LimbT* limb, LimbT* parent, int depth)
// as each limb is reached (parent null and depth 0 for root) and, if it has one,
//   void leave(LimbT* limb, int depth)
// once the limb's children are done, also when they were left out. A visitor that declares a
// type Level gets instead
//   LimbWalkStep enter(LimbT* limb, LimbT* parent, int depth, const Level* parentLevel,
//                      Level& own)
// where own starts value-initialised and is kept while the limb's children are walked, each of
// them seeing it as parentLevel (null for root): what a limb passes down, such as its joint.
// False when the visitor stopped the walk.
template <typename LimbT, typename Visitor>
bool walkLimbTree(LimbT* root, DeletedLimbs deleted, Visitor& visitor) {
    if (root == nullptr)
        return true;
    using Level = typename limb_walk_detail::LevelOf<Visitor>::type;
    return limb_walk_detail::walkFrom<LimbT, Visitor, Level>(root, nullptr, 0, nullptr, deleted,
                                                             visitor);
}

// Calls visit(limb, parent, depth) for each limb of the walk, in pre-order.
template <typename LimbT, typename Visit>
void forEachLimb(LimbT* root, DeletedLimbs deleted, Visit&& visit) {
    struct Visitor {
        Visit& visit;
        LimbWalkStep enter(LimbT* limb, LimbT* parent, int depth) {
            visit(limb, parent, depth);
            return LimbWalkStep::kBelow;
        }
    } visitor{visit};
    walkLimbTree(root, deleted, visitor);
}

// The first limb of the walk, in pre-order, for which matches(limb) holds; null for none.
template <typename LimbT, typename Matches>
LimbT* findFirstLimb(LimbT* root, DeletedLimbs deleted, Matches&& matches) {
    struct Visitor {
        Matches& matches;
        LimbT* found;
        LimbWalkStep enter(LimbT* limb, LimbT*, int) {
            if (!matches(limb))
                return LimbWalkStep::kBelow;
            found = limb;
            return LimbWalkStep::kStop;
        }
    } visitor{matches, nullptr};
    walkLimbTree(root, deleted, visitor);
    return visitor.found;
}
