package koru.test;

// Has methods named main, but none with the signature a launcher calls.
public class NoMain {
    public static void main(String onlyOne) {
    }

    public void main(String[] args) {
    }
}
