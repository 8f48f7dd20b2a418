/* The library routines that the 32-bit Windows programs carry in place of
 * the library's own (tools/runtime/library_routines.cpp), held against the
 * native library: the hash table's bucket counts must be the library's, so
 * that unordered containers keep their order, and the red-black tree must
 * stay a valid, ordered, balanced tree through any mix of insertions and
 * removals. */
#include <gtest/gtest.h>

#include <stdint.h>

#include <random>
#include <set>
#include <unordered_map>
#include <vector>

#include "runtime/library_routines.h"

namespace {

using library_routines::Node;

TEST(LibraryRoutines, BucketCountsAreTheLibrarys)
{
    std::mt19937 random(7);
    std::vector<size_t> sizes;
    for (size_t n = 0; n < 3000; n++)
        sizes.push_back(n);
    /* Up to the last prime but one of the 32-bit table (past it the
     * 64-bit library's table goes on). */
    for (int i = 0; i < 20000; i++)
        sizes.push_back(random() % 3791104843u);
    for (float load : {1.0f, 0.5f, 0.75f, 2.0f}) {
        for (size_t n : sizes) {
            std::__detail::_Prime_rehash_policy library(load);
            size_t resize = 0;
            size_t ours = library_routines::next_bucket_count(load, &resize, n);
            ASSERT_EQ(library._M_next_bkt(n), ours) << "n " << n << " load " << load;
            ASSERT_EQ(library._M_next_resize, resize) << "n " << n << " load " << load;
        }
    }
}

TEST(LibraryRoutines, GrowthIsTheLibrarys)
{
    /* A table filled one by one and in batches, as insert and the range
     * insert ask: the same decisions and counts at every step. */
    for (float load : {1.0f, 0.6f}) {
        std::__detail::_Prime_rehash_policy library(load);
        size_t resize = 0;
        size_t buckets = 1;
        size_t elements = 0;
        std::mt19937 random(11);
        while (elements < 300000) {
            size_t inserted = random() % 4 == 0 ? random() % 500 + 1 : 1;
            std::pair<bool, size_t> expected = library._M_need_rehash(buckets, elements, inserted);
            size_t grown = 0;
            bool grow = library_routines::need_rehash(load, &resize, buckets, elements, inserted,
                                                      &grown);
            ASSERT_EQ(expected.first, grow) << elements;
            if (grow) {
                ASSERT_EQ(expected.second, grown) << elements;
                buckets = grown;
            }
            ASSERT_EQ(library._M_next_resize, resize) << elements;
            elements += inserted;
        }
    }
}

struct KeyNode {
    Node base;
    int key;
};

int key_of(const Node *n)
{
    return reinterpret_cast<const KeyNode *>(n)->key;
}

/* Black height of the subtree, or -1 where a rule of the tree is broken. */
int black_height(const Node *n, const Node *parent)
{
    if (!n)
        return 1;
    if (n->_M_parent != parent)
        return -1;
    if (n->_M_color == std::_S_red &&
        ((n->_M_left && n->_M_left->_M_color == std::_S_red) ||
         (n->_M_right && n->_M_right->_M_color == std::_S_red)))
        return -1;
    if ((n->_M_left && key_of(n->_M_left) >= key_of(n)) ||
        (n->_M_right && key_of(n->_M_right) <= key_of(n)))
        return -1;
    int left = black_height(n->_M_left, n);
    int right = black_height(n->_M_right, n);
    if (left < 0 || left != right)
        return -1;
    return left + (n->_M_color == std::_S_black ? 1 : 0);
}

void expect_tree(const Node &header, const std::set<int> &keys)
{
    const Node *root = header._M_parent;
    if (keys.empty()) {
        ASSERT_EQ(nullptr, root);
        ASSERT_EQ(&header, header._M_left);
        ASSERT_EQ(&header, header._M_right);
        return;
    }
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(&header, root->_M_parent);
    ASSERT_EQ(std::_S_black, root->_M_color);
    ASSERT_GT(black_height(root, &header), 0);
    ASSERT_EQ(*keys.begin(), key_of(header._M_left));
    ASSERT_EQ(*keys.rbegin(), key_of(header._M_right));
    /* In order both ways, with the header at each end. */
    Node *at = header._M_left;
    for (int key : keys) {
        ASSERT_EQ(key, key_of(at));
        at = library_routines::increment(at);
    }
    ASSERT_EQ(&header, at);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        at = library_routines::decrement(at);
        ASSERT_EQ(*key, key_of(at));
    }
}

TEST(LibraryRoutines, TreeStaysOrderedAndBalanced)
{
    Node header;
    header._M_color = std::_S_red;
    header._M_parent = nullptr;
    header._M_left = &header;
    header._M_right = &header;
    std::set<int> keys;
    std::vector<KeyNode *> nodes;
    std::mt19937 random(3);
    for (int step = 0; step < 20000; step++) {
        bool insert = nodes.empty() || random() % 3 != 0;
        if (insert) {
            int key = (int)(random() % 5000);
            if (keys.count(key))
                continue;
            /* Where the library's insert puts it: below the last node of
             * the descent, on its side. */
            Node *parent = &header;
            Node *x = header._M_parent;
            bool left = true;
            while (x) {
                parent = x;
                left = key < key_of(x);
                x = left ? x->_M_left : x->_M_right;
            }
            KeyNode *node = new KeyNode;
            node->key = key;
            library_routines::insert_and_rebalance(left || parent == &header, &node->base, parent,
                                                   header);
            nodes.push_back(node);
            keys.insert(key);
        } else {
            size_t pick = random() % nodes.size();
            KeyNode *node = nodes[pick];
            Node *freed = library_routines::rebalance_for_erase(&node->base, header);
            ASSERT_EQ(&node->base, freed);
            keys.erase(node->key);
            nodes[pick] = nodes.back();
            nodes.pop_back();
            delete node;
        }
        if (step % 97 == 0 || keys.size() < 8)
            expect_tree(header, keys);
    }
    while (!nodes.empty()) {
        KeyNode *node = nodes.back();
        library_routines::rebalance_for_erase(&node->base, header);
        keys.erase(node->key);
        nodes.pop_back();
        delete node;
        expect_tree(header, keys);
    }
}

}  // namespace
