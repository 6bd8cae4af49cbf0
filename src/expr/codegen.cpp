// Tree building and code generation for one statement at a time.

#include "compiler_internal.h"
#include "expr/expr.h"

namespace qf::detail {

namespace {

// Capacity problems are reported once where they arise, not once per lost
// node or instruction, so one overflow does not flood the message text.
bool g_nodeOverflowReported = false;
bool g_codeOverflowReported = false;

constexpr int32_t kMaxResultSlot = kExprSlots - 1;

void emit(ExprContext& ctx, int32_t opcode, int32_t operand, double number = 0.0) {
    ExprProgram& p = ctx.program;
    if (p.count < 0 || p.count >= kExprMaxCode) {
        if (!g_codeOverflowReported) {
            g_codeOverflowReported = true;
            reportError("codearea overflow");
        }
        return;
    }
    p.code[static_cast<std::size_t>(p.count++)] = ExprInstruction{opcode, operand, number};
}

// Post-order: operands first, so the machine finds them on its stack. The
// tree is at most kExprMaxNodes deep, so the recursion is bounded.
void emitTree(ExprContext& ctx, int32_t index) {
    if (index < 0 || index >= ctx.nodeCount) return;
    const ExprNode& node = ctx.nodes[static_cast<std::size_t>(index)];
    emitTree(ctx, node.left);
    emitTree(ctx, node.right);
    switch (node.kind) {
        case NODE_VARIABLE:
            emit(ctx, OP_PSHI, node.variable);
            break;
        case NODE_NUMBER:
            emit(ctx, OP_PSHN, 0, node.number);
            break;
        default:
            emit(ctx, OP_CAL, node.kind);
            break;
    }
}

int32_t addNode(const ExprNode& node) {
    ExprContext& ctx = exprContext();
    if (ctx.nodeCount < 0 || ctx.nodeCount >= kExprMaxNodes) {
        if (!g_nodeOverflowReported) {
            g_nodeOverflowReported = true;
            reportError("nodearea overflow");
        }
        return -1;
    }
    ctx.nodes[static_cast<std::size_t>(ctx.nodeCount)] = node;
    return ctx.nodeCount++;
}

void freeNodes(ExprContext& ctx) {
    ctx.nodeCount = 0;
    g_nodeOverflowReported = false;
}

}  // namespace

void beginCompile() {
    g_nodeOverflowReported = false;
    g_codeOverflowReported = false;
}

int32_t makeNode(int32_t kind, int32_t left, int32_t right) {
    return addNode(ExprNode{kind, 0, 0.0, left, right});
}

int32_t makeVariable() {
    return addNode(ExprNode{NODE_VARIABLE, 0, 0.0, -1, -1});
}

int32_t makeNumber(double value) {
    return addNode(ExprNode{NODE_NUMBER, 0, value, -1, -1});
}

void completeStatement(int32_t root) {
    ExprContext& ctx = exprContext();
    const int32_t slot = ctx.statementCounter++;
    // Results live in slots 1..15 only; a longer program is rejected once,
    // and the statements beyond it get no code that could store out of range.
    if (slot >= 1 && slot <= kMaxResultSlot) {
        emitTree(ctx, root);
        emit(ctx, OP_POP, slot);
    } else if (slot == kMaxResultSlot + 1) {
        reportError("too many statements (max 15)");
    }
    freeNodes(ctx);
}

void discardStatement() {
    freeNodes(exprContext());
}

}  // namespace qf::detail
