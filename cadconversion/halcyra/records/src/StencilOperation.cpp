// CStencilOperation: a stencil text at a position.
#include "halcyra/StencilOperation.h"

#include "RecordText.h"

#include "com/Bstr.h"

CStencilOperation::CStencilOperation(double dX, double dU, const char* pszText)
    : X(dX), U(dU), Text(bstrFromNarrow(pszText))
{
}

CStencilOperation::~CStencilOperation()
{
    SysFreeString(Text);
}
