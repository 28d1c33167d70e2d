// The two halves of a decoder table row (DecodeStep, page.h), made from page operations:
//
//   {cat::Other, 0x00, apply<&OtherPage::OtherSet>, then<&OtherPage::OtherRead2>},
//
// apply<M> calls the apply operation M (void (P::*)(const ResponseFrame &)) of page P;
// then<M> calls the next read M, either void (P::*)() or, where the next read depends on
// the reply, void (P::*)(const ResponseFrame &). P may be any page of the registry.
#pragma once

#include "pages/page.h"
#include "pages/pages.h"

#include <type_traits>

namespace decode {

namespace detail {
template <class M> struct PageOf;
template <class P, class R, class... A> struct PageOf<R (P::*)(A...)> { using type = P; };

template <auto M>
void applyStep(Pages &pages, const ResponseFrame &r)
{
    using P = typename PageOf<decltype(M)>::type;
    (pages.get<P>()->*M)(r);
}

template <auto M>
void nextStep(Pages &pages, const ResponseFrame &r)
{
    using P = typename PageOf<decltype(M)>::type;
    P *page = pages.get<P>();
    if constexpr (std::is_invocable_v<decltype(M), P *, const ResponseFrame &>)
        (page->*M)(r);
    else
        (page->*M)();
}
} // namespace detail

template <auto M> inline constexpr DecodeStep::Apply apply = &detail::applyStep<M>;
template <auto M> inline constexpr DecodeStep::Apply then = &detail::nextStep<M>;

} // namespace decode
